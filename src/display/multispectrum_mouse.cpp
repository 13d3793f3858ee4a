// The mouse on the Multispectrum plot: the legend dragged, the zoomed window
// panned, the wheel zooming about the pointer.

#include "multispectrum_mouse.h"

#include <algorithm>

#include "zoom.h"

namespace vorelbox::display {

void multispectrum_mouse(MultispectrumState& state, PlotMouse message, int x, int y, int notches,
                         bool redraw_pending) {
    PlotDrag& drag = state.drag;
    if (!state.layout.drawn) {
        drag = {};
        return;
    }
    switch (message) {
        case PlotMouse::Press:
            if (over_legend(state, x, y) || state.page.x_zoom > 1) {
                drag.active = true;
                drag.legend = over_legend(state, x, y);
                drag.x0 = x;
                return;
            }
            break;
        case PlotMouse::Move:
            if (!drag.active) {
                break;
            }
            if (!redraw_pending && x != drag.x0) {
                if (drag.legend) {
                    move_legend(state, x - drag.x0);
                } else {
                    drag_window(state, drag.c0, x);
                }
                drag.x0 = x;
            }
            return;
        case PlotMouse::Release:
            drag.active = false;
            return;
        case PlotMouse::Wheel:
            wheel_zoom(state, notches, x);
            return;
    }
    drag.c0 = channel_under(state, x);
}

bool over_legend(const MultispectrumState& state, int x, int y) {
    const MultiFrame& f = state.layout.frame;
    return state.layout.drawn && x >= state.legend_left && x <= f.right && y >= f.top + 30 &&
           y <= state.legend_bottom;
}

void move_legend(MultispectrumState& state, int dx) {
    const MultiFrame& f = state.layout.frame;
    state.legend_left = std::max(f.left + 20, std::min(f.right - 100, state.legend_left + dx));
    state.redraw_request = true;
}

int channel_under(const MultispectrumState& state, int x) {
    const MultiplotLayout& l = state.layout;
    const int width = l.frame.right - l.frame.left;
    if (width <= 0) {
        return l.lo;
    }
    return static_cast<int>(static_cast<long long>(x - l.frame.left) * (l.hi - l.lo) / width) +
           l.lo;
}

void drag_window(MultispectrumState& state, int c0, int x) {
    const MultiplotLayout& l = state.layout;
    const int width = l.frame.right - l.frame.left;
    if (state.page.x_zoom <= 1 || width <= 0) {
        return;
    }
    const int w = l.hi - l.lo;
    const int lower =
        std::max(1, c0 - static_cast<int>(static_cast<long long>(w) * (x - l.frame.left) / width));
    set_channel_edits(state, lower, std::min(channel_count(state), lower + w));
    state.page.x_scroll = lower;
    state.redraw_request = true;
}

void wheel_zoom(MultispectrumState& state, int notches, int x) {
    const MultiplotLayout& l = state.layout;
    const int n = channel_count(state);
    const int level = std::clamp(state.page.x_zoom - notches, 0, 12);
    state.page.x_zoom = level;
    state.page.peak_enabled = level > 1;
    const double factor = common::ZOOM_FACTORS[static_cast<std::size_t>(level)];
    const int w = level == 0 ? n : static_cast<int>(n / factor);
    state.window = w;
    const int width = l.frame.right - l.frame.left;
    const double share =
        width > 0 ? std::clamp(static_cast<double>(x - l.frame.left) / width, 0.0, 1.0) : 0.0;
    int lo = std::max(1, channel_under(state, x) - static_cast<int>(w * share));
    int hi = lo + w - 1;
    if (hi > n) {
        hi = n;
        lo = std::max(1, n - w + 1);
    }
    set_channel_edits(state, lo, hi);
    state.page.x_scroll = lo;
    state.page.x_scroll_maximum = std::max(1, n);
    state.page.x_scroll_page = std::max(1, w);
    state.redraw_request = true;
}

}  // namespace vorelbox::display
