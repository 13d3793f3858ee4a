// The range controls of the Multispectrum plot: channel edits, horizontal zoom
// and scroll, vertical zoom and scroll, "Peak", "<--->" and "L".

#include <algorithm>
#include <cmath>

#include "dialog_values.h"
#include "multispectrum.h"
#include "text_utils.h"
#include "zoom.h"

namespace vorelbox::display {
namespace {

double zoom_factor(int index) {
    return common::ZOOM_FACTORS[static_cast<std::size_t>(std::clamp(index, 0, 12))];
}

// W at a zoom position: trunc(N / f), N at position 0.
int window_width(int channels, int zoom_index) {
    if (zoom_index <= 0) {
        return channels;
    }
    return static_cast<int>(std::trunc(channels / zoom_factor(zoom_index)));
}

// A channel edit read as a real; one that does not read (after its warning) keeps
// `old`. A blank edit is no error: it keeps `old` without a word.
double read_edit(common::Ui& ui, const std::string& text, int old) {
    if (common::is_blank(text)) {
        return static_cast<double>(old);
    }
    return common::DLGGETREAL(ui, text).value_or(static_cast<double>(old));
}

// A window of width w that runs past N ends at N instead.
void keep_inside(int& lo, int& hi, int n, int w) {
    if (hi > n) {
        hi = n;
        lo = std::max(1, n - w + 1);
    }
}

}  // namespace

void MULTISPECTRUM_RANGES_FOR_VORELBOX(MultispectrumState& state, common::Ui& ui,
                                       MultiControl control, MultiReason reason) {
    MultispectrumPage& page = state.page;
    const bool change = reason == MultiReason::Change;
    const bool click = reason == MultiReason::Click;
    const bool refresh = reason == MultiReason::Refresh;
    if (!change && !click && !refresh) {
        common::WARN(ui, RANGES_PROBLEM);
        return;
    }
    const int n = channel_count(state);
    const int p = page.x_scroll;
    int z = std::clamp(page.x_zoom, 0, 12);
    double f = zoom_factor(z);
    int lo = std::max(1, to_device(read_edit(ui, page.lower_channel, state.lo)));
    int hi = to_device(read_edit(ui, page.upper_channel, state.hi));
    bool redraw = false;

    if (refresh) {
        state.window = window_width(n, z);
        state.y_zoom = std::clamp(page.y_zoom, 0, 12);
        page.y_scroll_page =
            static_cast<int>(std::trunc(Y_SCROLL_MAXIMUM / zoom_factor(state.y_zoom)));
    } else if (click) {
        switch (control) {
            case MultiControl::Peak:
                if (z != 1) {
                    state.peak_centre = static_cast<int>(std::trunc(state.peak_channel));
                    lo = std::max(1, state.peak_centre - state.window / 2);
                    hi = std::min(n, lo + state.window - 1);
                    redraw = true;
                }
                break;
            case MultiControl::Whole:
                z = 0;
                f = 1.0;
                page.x_zoom = 0;
                lo = 1;
                hi = n;
                redraw = true;
                break;
            case MultiControl::Log:
                page.log_letters = page.log ? LOG_LETTERS : LIN_LETTERS;
                redraw = true;
                break;
            default:
                common::WARN(ui, NOT_YET_PROGRAMMED);
                return;
        }
    } else {
        switch (control) {
            case MultiControl::XZoom: {
                // The window keeps its middle (or centres on the peak set by
                // "Peak") and takes the width of the new zoom.
                const int old_width = state.window;
                const int w = window_width(n, z);
                if (z == 0) {
                    lo = 1;
                    hi = n;
                    f = 1.0;
                } else {
                    const int k = static_cast<int>(std::trunc((n - 1) / f));
                    lo = std::max(1, lo + old_width / 2 - k / 2);
                    if (state.peak_centre > 0) {
                        lo = std::max(1, state.peak_centre - w / 2);
                    }
                    hi = lo + w - 1;
                }
                keep_inside(lo, hi, n, w);
                state.window = w;
                page.x_scroll_page = static_cast<int>(std::trunc(n / f));
                redraw = true;
                break;
            }
            case MultiControl::XScroll:
                if (z == 0) {
                    lo = 1;
                    hi = n;
                } else {
                    const int w = window_width(n, z);
                    const int q = lo + w > n ? n - w + 1 : lo;
                    lo = q == p ? p + (p - state.previous_scroll) : p;
                    lo = std::clamp(lo, 1, std::max(1, n - w + 1));
                    hi = lo + w - 1;
                }
                redraw = true;
                break;
            case MultiControl::YZoom:
                state.y_scroll = page.y_scroll;
                state.y_zoom = std::clamp(page.y_zoom, 0, 12);
                redraw = true;
                break;
            case MultiControl::YScroll:
                state.y_zoom = std::clamp(page.y_zoom, 0, 12);
                if (state.y_zoom != 1) {
                    state.y_scroll = page.y_scroll;
                    redraw = true;
                }
                break;
            case MultiControl::LowerChannel:
            case MultiControl::UpperChannel:
                // A typed channel window is drawn as it is.
                redraw = true;
                break;
            default:
                common::WARN(ui, RANGES_PROBLEM);
                return;
        }
    }

    // Common last steps.
    state.lo = lo;
    state.hi = hi;
    page.lower_channel = std::to_string(lo);
    page.upper_channel = std::to_string(hi);
    if (control != MultiControl::XScroll) {
        page.x_scroll = lo;
    }
    page.peak_enabled = page.selected >= 1 && z > 1;
    state.previous_scroll = page.x_scroll;
    if (redraw) {
        state.redraw_request = true;
        page.x_scroll_maximum = std::max(1, n);
        page.x_scroll_page = std::max(1, static_cast<int>(std::trunc(n / f)));
        common::STATUS(ui, "");
    }
}

}  // namespace vorelbox::display
