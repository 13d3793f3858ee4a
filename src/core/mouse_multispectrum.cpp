// The mouse on the Multispectrum plot: the legend is dragged, a zoomed channel
// window is panned, and the wheel zooms about the pointer. L and R are the
// frame's left and right edges, T its top; lo..hi the channels shown.

#include <algorithm>

#include "app_state.h"
#include "dispatch.h"
#include "mouse_plots.h"
#include "zoom.h"

namespace vorelbox::core {
namespace {

using display::MultiplotLayout;
using display::MultispectrumState;

constexpr int MAX_ZOOM = static_cast<int>(common::ZOOM_FACTORS.size()) - 1;

// The legend spans x from its left edge to R and y from T + 30 to its lower edge.
bool over_legend(const MultispectrumState& state, int x, int y) {
    const display::MultiFrame& f = state.layout.frame;
    return x >= state.legend_left && x <= f.right && y >= f.top + 30 && y <= state.legend_bottom;
}

// The legend moved by dx, its left edge kept within L + 20 .. R − 100.
void move_legend(MultispectrumState& state, int dx) {
    const display::MultiFrame& f = state.layout.frame;
    state.legend_left = std::max(f.left + 20, std::min(f.right - 100, state.legend_left + dx));
}

// The channel under x: trunc((x − L)(hi − lo) / (R − L)) + lo.
int channel_under(const MultispectrumState& state, int x) {
    const MultiplotLayout& l = state.layout;
    const int width = l.frame.right - l.frame.left;
    if (width <= 0) {
        return l.lo;
    }
    return static_cast<int>(static_cast<long long>(x - l.frame.left) * (l.hi - l.lo) / width) + l.lo;
}

// A drag of the zoomed plot: channel c0, noted before the drag, follows the
// pointer to x. The window keeps its width, starts at channel 1 at the lowest
// and ends at the last channel at the highest.
void drag_window(MultispectrumState& state, int c0, int x) {
    const MultiplotLayout& l = state.layout;
    const int width = l.frame.right - l.frame.left;
    if (width <= 0) {
        return;
    }
    const int w = l.hi - l.lo;
    const int lower = std::max(1, c0 - static_cast<int>(static_cast<long long>(w) * (x - l.frame.left) / width));
    display::set_channel_edits(state, lower, std::min(display::channel_count(state), lower + w));
    state.page.x_scroll = lower;
}

// Wheel notches (forward positive) at x: the zoom level goes down by the
// notches, within 0..12, and the channel under the pointer stays under it.
void wheel_zoom(MultispectrumState& state, int notches, int x) {
    const MultiplotLayout& l = state.layout;
    const int n = display::channel_count(state);
    const int level = std::clamp(state.page.x_zoom - notches, 0, MAX_ZOOM);
    state.page.x_zoom = level;
    state.page.peak_enabled = level > 1;
    const double factor = common::ZOOM_FACTORS[static_cast<std::size_t>(level)];
    const int w = level == 0 ? n : static_cast<int>(n / factor);
    state.window = w;
    const int width = l.frame.right - l.frame.left;
    const double share = width > 0 ? std::clamp(static_cast<double>(x - l.frame.left) / width, 0.0, 1.0) : 0.0;
    int lo = std::max(1, channel_under(state, x) - static_cast<int>(w * share));
    int hi = lo + w - 1;
    if (hi > n) {
        hi = n;
        lo = std::max(1, n - w + 1);
    }
    display::set_channel_edits(state, lo, hi);
    state.page.x_scroll = lo;
    state.page.x_scroll_maximum = std::max(1, n);
    state.page.x_scroll_page = std::max(1, w);
}

}  // namespace

void multispectrum_plot_mouse(AppState& state, Services& services, const MouseEvent& event, int notches,
                              MouseResult& result) {
    MouseState& mouse = state.mouse;
    MultispectrumState& multi = state.multispectrum;
    if (!multi.layout.drawn) {
        end_drag(mouse);
        return;
    }
    switch (event.kind) {
        case MouseKind::Wheel:
            wheel_zoom(multi, notches, event.x);
            start_multispectrum_redraw(services.timers, services.redraws);
            result.page_changed = true;
            return;
        case MouseKind::LeftDown: {
            const bool legend = over_legend(multi, event.x, event.y);
            if (legend || multi.page.x_zoom > 1) {
                mouse.dragging = true;
                mouse.drag_area = event.area;
                mouse.legend_drag = legend;
                mouse.x0 = event.x;
                mouse.y0 = event.y;
                mouse.hand = true;
                return;
            }
            break;
        }
        case MouseKind::Move:
            if (!mouse.dragging) {
                break;
            }
            // One step at a time: the plot is drawn before the next step is taken.
            if (!services.timers.pending(TIMER_MULTI) && event.x != mouse.x0) {
                if (mouse.legend_drag) {
                    move_legend(multi, event.x - mouse.x0);
                } else if (multi.page.x_zoom > 1) {
                    drag_window(multi, mouse.c0, event.x);
                }
                mouse.x0 = event.x;
                start_multispectrum_redraw(services.timers, services.redraws);
                result.page_changed = true;
            }
            return;
        case MouseKind::LeftUp:
            if (mouse.dragging) {
                end_drag(mouse);
                start_multispectrum_redraw(services.timers, services.redraws);
            }
            return;
        case MouseKind::RightDown:
        case MouseKind::RightUp:
        case MouseKind::Leave:
            break;
    }
    mouse.c0 = channel_under(multi, event.x);
}

}  // namespace vorelbox::core
