#include "mouse.h"

#include "app_state.h"
#include "dispatch.h"
#include "mouse_plots.h"

namespace vorelbox::core {
namespace {

bool inside(const MouseEvent& event) {
    return event.kind != MouseKind::Leave && event.x >= 0 && event.y >= 0 && event.x < event.width &&
           event.y < event.height;
}

bool is_plot(MouseArea area) {
    return area == MouseArea::AdderPlot || area == MouseArea::ConverterPlot ||
           area == MouseArea::MultispectrumPlot;
}

// The whole notches of a turn. A touchpad sends a turn in small steps: they add
// up until they make a notch, so one flick does not act a dozen times. A turn
// the other way, or over another area, starts afresh.
int take_notches(MouseState& mouse, const MouseEvent& event) {
    const bool reversed = (mouse.wheel_rest > 0 && event.wheel < 0) || (mouse.wheel_rest < 0 && event.wheel > 0);
    if (mouse.wheel_area != event.area || reversed) {
        mouse.wheel_rest = 0;
        mouse.wheel_area = event.area;
    }
    mouse.wheel_rest += event.wheel;
    const int notches = mouse.wheel_rest / WHEEL_NOTCH;
    mouse.wheel_rest -= notches * WHEEL_NOTCH;
    return notches;
}

}  // namespace

void end_drag(MouseState& mouse) {
    mouse.dragging = false;
    mouse.drag_area = MouseArea::None;
    mouse.legend_drag = false;
    mouse.hand = false;
}

MouseResult CHECK_VORELBOXMOUSEACTION(AppState& state, Services& services, const MouseEvent& event,
                                      const display::TextViewer* viewer) {
    MouseState& mouse = state.mouse;
    MouseResult result;
    const bool in = inside(event);
    if (event.kind != MouseKind::Wheel) {
        mouse.inside_adder = in && event.area == MouseArea::AdderPlot;
        mouse.inside_converter = in && event.area == MouseArea::ConverterPlot;
        mouse.inside_multispectrum = in && event.area == MouseArea::MultispectrumPlot;
    }
    if (!mouse.inside_converter) {
        state.converter.page.pointer_channel.clear();
    }
    // A release that never came (the focus went elsewhere while the button was
    // down) ends the drag at the next move.
    if (mouse.dragging && event.kind == MouseKind::Move && !event.left) {
        end_drag(mouse);
    }

    int notches = 0;
    if (event.kind == MouseKind::Wheel) {
        result.consumed = true;
        notches = take_notches(mouse, event);
        if (event.area == MouseArea::TextOutput) {
            if (notches != 0 && viewer != nullptr && !viewer->shown_file.empty()) {
                result.text_line = display::wheel_position(*viewer, notches);
            }
            return result;
        }
        if (notches == 0) {
            result.pointer = mouse.hand ? PointerShape::Hand : PointerShape::Arrow;
            return result;
        }
    }

    if (!in || !is_plot(event.area) || (mouse.dragging && mouse.drag_area != event.area)) {
        end_drag(mouse);
        return result;
    }
    switch (event.area) {
        case MouseArea::AdderPlot:
            if (state.adder_active()) {
                adder_plot_mouse(state, services, event, notches, result);
            }
            break;
        case MouseArea::ConverterPlot:
            if (state.converter_active()) {
                converter_plot_mouse(state, services, event, notches, result);
            }
            break;
        case MouseArea::MultispectrumPlot:
            multispectrum_plot_mouse(state, services, event, notches, result);
            break;
        case MouseArea::None:
        case MouseArea::TextOutput:
            break;
    }
    result.pointer = mouse.hand ? PointerShape::Hand : PointerShape::Arrow;
    return result;
}

void draw_trim_lines(display::Canvas& canvas, const std::vector<int>& lines) {
    if (lines.empty()) {
        return;
    }
    canvas.set_pen({1, display::RED});
    for (const int x : lines) {
        canvas.draw_line(x, canvas.height() - 1, x, 51);
    }
}

}  // namespace vorelbox::core
