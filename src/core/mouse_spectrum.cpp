// The mouse on the single spectrum plots of the Spectrum adder and the Spectrum
// converter: the wheel zooms about the pointer, a zoomed plot is dragged, and
// the converter shows the channel under the pointer and takes a trimming
// window from Shift-clicks.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "app_state.h"
#include "dispatch.h"
#include "mouse_plots.h"
#include "zoom.h"

namespace vorelbox::core {
namespace {

constexpr int MAX_ZOOM = static_cast<int>(common::ZOOM_FACTORS.size()) - 1;

// The channel under x, as a real: X1 + (x − L) / px, x taken no further left
// than L. Nothing while the plot shows no channels.
std::optional<double> channel_at(const common::ChannelScale& scale, int x) {
    if (scale.pixels_per_channel <= 0.0) {
        return std::nullopt;
    }
    return scale.first + std::max(x - scale.left, 0) / scale.pixels_per_channel;
}

// The channel under x rounded to the nearest, halves away from zero, at most `capacity`.
std::optional<int> pointer_channel(const common::ChannelScale& scale, int x, int capacity) {
    const std::optional<double> channel = channel_at(scale, x);
    if (!channel) {
        return std::nullopt;
    }
    return static_cast<int>(std::min<long>(std::lround(*channel), capacity));
}

// The page values the mouse moves, of either page.
struct PlotPage {
    int& zoom;
    int& scroll;
    int channels;  // N
    const common::ChannelScale& scale;
    int lowest_zoom;
};

PlotPage adder_page(AppState& state) {
    adder::AdderPageState& page = state.adder.page;
    return {page.zoom_index, page.scroll_position, page.displayed_channels, page.plot_scale, 1};
}

PlotPage converter_page(AppState& state) {
    converter::ConverterPageState& page = state.converter.page;
    return {page.zoom_index, page.scroll_position, state.converter.state.channels, page.plot_scale, 0};
}

// A wheel turn: the zoom level goes down by the notches, and the window is
// moved so that the channel under the pointer stays at the same share of the plot.
void wheel_zoom(PlotPage page, int notches, int x) {
    const int level = std::clamp(page.zoom - notches, page.lowest_zoom, MAX_ZOOM);
    const common::ChannelScale& scale = page.scale;
    if (const std::optional<double> channel = channel_at(scale, x)) {
        const int width = static_cast<int>(page.channels / common::ZOOM_FACTORS[static_cast<std::size_t>(level)]);
        const int span = std::max(scale.right - scale.left, 1);
        const double share = std::clamp(static_cast<double>(x - scale.left) / span, 0.0, 1.0);
        page.scroll = std::max(1, static_cast<int>(std::lround(*channel - share * width)));
    }
    page.zoom = level;
}

// A press without Shift on a zoomed plot starts a drag.
bool start_drag(MouseState& mouse, const MouseEvent& event, const PlotPage& page) {
    if (event.shift || page.zoom <= 1 || page.scale.pixels_per_channel <= 0.0) {
        return false;
    }
    mouse.dragging = true;
    mouse.drag_area = event.area;
    mouse.x0 = event.x;
    mouse.y0 = event.y;
    mouse.scroll_at_press = page.scroll;
    mouse.hand = true;
    return true;
}

// The scroll position that keeps the channel under the pointer at the press
// under it now: round(scroll at press + (x0 − x) / px), within 1..capacity.
std::optional<int> dragged_scroll(const MouseState& mouse, const MouseEvent& event, const PlotPage& page,
                                  int capacity) {
    if (!mouse.dragging || mouse.drag_area != event.area || page.scale.pixels_per_channel <= 0.0) {
        return std::nullopt;
    }
    const double moved = (mouse.x0 - event.x) / page.scale.pixels_per_channel;
    const long scroll = std::lround(mouse.scroll_at_press + moved);
    return static_cast<int>(std::clamp<long>(scroll, 1, std::max(capacity, 1)));
}

void start_page_redraw(const AppState& state, Services& services) {
    if (state.adder_active() && !state.adder.page.display_selection) {
        start_list_redraw(services.timers, services.ui, services.redraws);
    } else {
        start_spectrum_redraw(services.timers, services.redraws);
    }
}

void run_adder(AppState& state, Services& services, adder::AdderCommand command, int argument) {
    adder::SPECTADD_APPLY_SUB(state.store, state.raw_files, state.adder, services.ui, services.clipboard, command,
                              argument);
}

void run_converter(AppState& state, Services& services, converter::ConverterCommand command, int argument) {
    converter::SPECTCONV_APPLY_SUB(state.store, state.raw_files, state.converter, state.recent_converter_files,
                                   services.ui, services.clipboard, command, argument);
}

std::string right_justified(int number) {
    std::string text = std::to_string(number);
    return std::string(text.size() < 10 ? 10 - text.size() : 0, ' ') + text;
}

// Shift and the left button down: the first point of a trimming window, unless
// a Shift-click on one channel left the window open for this one.
void trim_press(AppState& state, Services& services, const MouseEvent& event, int channel, MouseResult& result) {
    TrimPoints& trim = state.mouse.trim;
    converter::ConverterState& converter = state.converter.state;
    if (trim.file != converter.file) {
        trim = {};
        trim.file = converter.file;
    }
    // The window left open is kept only while nothing else has changed it.
    if (trim.open && !(converter.trim && converter.first == trim.first && converter.last == trim.last)) {
        trim.open = false;
    }
    trim.press_x = event.x;
    trim.press_channel = channel;
    if (trim.open) {
        state.mouse.trim_lines = {trim.first_x, event.x};
    } else {
        trim.first_x = event.x;
        trim.second_x = event.x;
        trim.first = channel;
        trim.last = channel;
        // "First channel" takes the channel; the window keeps its end where it can.
        converter.first = channel;
        converter.last = std::max(converter.last, channel);
        converter::ConverterPageState& page = state.converter.page;
        page.channels_in_spectrum = converter.last - converter.first + 1;
        page.channels_in_spectrum_maximum = converter.channels - converter.first + 1;
        services.ui.set_status_text(common::STATUS_PART, "Trimming starts at " + right_justified(channel));
        state.mouse.trim_lines = {event.x};
        result.page_changed = true;
    }
    result.trim_lines_changed = true;
}

// Shift and the left button up: the second point. Released where it was
// pressed, the click leaves a window of one channel open for the next click;
// released elsewhere, the window runs from the press to here.
void trim_release(AppState& state, Services& services, const MouseEvent& event, int channel, MouseResult& result) {
    TrimPoints& trim = state.mouse.trim;
    converter::ConverterState& converter = state.converter.state;
    if (trim.file != converter.file || (trim.press_channel == 0 && trim.first == 0)) {
        return;
    }
    bool open = false;
    if (trim.press_channel != 0) {
        const bool click = channel == trim.press_channel;
        if (!(click && trim.open)) {
            trim.first = trim.press_channel;
            trim.first_x = trim.press_x;
            open = click;
        }
    }
    trim.last = channel;
    trim.second_x = event.x;
    if (trim.last < trim.first) {
        std::swap(trim.first, trim.last);
        std::swap(trim.first_x, trim.second_x);
    }
    trim.length = trim.last - trim.first + 1;
    trim.open = open;
    trim.press_channel = 0;

    const int limit = converter.channels - trim.first + 1;
    converter.first = trim.first;
    converter.last = trim.last;
    converter.trim = true;
    converter::ConverterPageState& page = state.converter.page;
    page.channels_in_spectrum_maximum = limit;
    page.channels_in_spectrum = trim.length;
    services.ui.set_status_text(common::STATUS_PART, "Trimming starts at " + right_justified(trim.first) +
                                                         ", ends at " + right_justified(trim.last) +
                                                         " - lim: " + right_justified(limit));
    state.mouse.trim_lines = {trim.first_x};
    if (trim.second_x != trim.first_x) {
        state.mouse.trim_lines.push_back(trim.second_x);
    }
    result.trim_lines_changed = true;
    result.page_changed = true;
    result.file_line_changed = true;
}

}  // namespace

void adder_plot_mouse(AppState& state, Services& services, const MouseEvent& event, int notches,
                      MouseResult& result) {
    MouseState& mouse = state.mouse;
    const PlotPage page = adder_page(state);
    switch (event.kind) {
        case MouseKind::Wheel:
            wheel_zoom(page, notches, event.x);
            run_adder(state, services, adder::AdderCommand::XZoom, page.zoom);
            start_page_redraw(state, services);
            result.page_changed = true;
            break;
        case MouseKind::LeftDown:
            start_drag(mouse, event, page);
            break;
        case MouseKind::Move:
            if (const auto scroll = dragged_scroll(mouse, event, page, state.store.CHANNEL_CAPACITY)) {
                page.scroll = *scroll;
                start_page_redraw(state, services);
                run_adder(state, services, adder::AdderCommand::Scroll, *scroll);
                result.page_changed = true;
            }
            break;
        case MouseKind::LeftUp:
            end_drag(mouse);
            start_page_redraw(state, services);
            break;
        case MouseKind::RightDown:
        case MouseKind::RightUp:
        case MouseKind::Leave:
            break;
    }
}

void converter_plot_mouse(AppState& state, Services& services, const MouseEvent& event, int notches,
                          MouseResult& result) {
    MouseState& mouse = state.mouse;
    const PlotPage page = converter_page(state);
    const std::optional<int> channel = pointer_channel(page.scale, event.x, state.store.CHANNEL_CAPACITY);
    state.converter.page.pointer_channel = channel ? std::to_string(*channel) : std::string();
    // The trimming points: channels of the spectrum.
    const int trim_channel = std::clamp(channel.value_or(0), 1, std::max(page.channels, 1));
    const bool can_trim = channel.has_value() && page.channels > 0;
    switch (event.kind) {
        case MouseKind::Wheel:
            wheel_zoom(page, notches, event.x);
            run_converter(state, services, converter::ConverterCommand::XZoom, page.zoom);
            start_page_redraw(state, services);
            result.page_changed = true;
            break;
        case MouseKind::LeftDown:
            if (event.shift) {
                if (can_trim) {
                    trim_press(state, services, event, trim_channel, result);
                }
            } else {
                start_drag(mouse, event, page);
            }
            break;
        case MouseKind::Move:
            if (const auto scroll = dragged_scroll(mouse, event, page, state.store.CHANNEL_CAPACITY)) {
                page.scroll = *scroll;
                start_page_redraw(state, services);
                run_converter(state, services, converter::ConverterCommand::Scroll, *scroll);
                result.page_changed = true;
            }
            break;
        case MouseKind::LeftUp:
            if (event.shift && can_trim) {
                trim_release(state, services, event, trim_channel, result);
            }
            mouse.trim.press_channel = 0;
            end_drag(mouse);
            start_page_redraw(state, services);
            break;
        case MouseKind::RightDown:
        case MouseKind::RightUp:
        case MouseKind::Leave:
            break;
    }
}

}  // namespace vorelbox::core
