#pragma once
// The mouse on the plots and on the Text output page, in one routine: the wheel
// zooms a plot or scrolls the text, a zoomed plot is dragged with a hand
// cursor, the converter plot shows the channel under the pointer and takes its
// trimming window from Shift-clicks, and the Multispectrum legend is dragged.
// The window only turns its events into a MouseEvent and shows the MouseResult;
// everything the routine keeps between events lives in MouseState.

#include <optional>
#include <string>
#include <vector>

#include "canvas.h"
#include "text_viewer.h"

namespace vorelbox::core {

struct AppState;
struct Services;

// Where an event happened: the widget that received it.
enum class MouseArea { None, AdderPlot, ConverterPlot, MultispectrumPlot, TextOutput };

enum class MouseKind {
    Move,
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
    Wheel,
    Leave  // the pointer left the area, or the window lost the focus
};

// A wheel notch as the platforms count it; touchpads send fractions of it.
constexpr int WHEEL_NOTCH = 120;

struct MouseEvent {
    MouseKind kind = MouseKind::Move;
    MouseArea area = MouseArea::None;
    int x = 0;  // pixels from the area's left edge (negative or past width: outside it)
    int y = 0;  // pixels from its top edge
    int width = 0;  // the area's size
    int height = 0;
    bool left = false;  // buttons held
    bool right = false;
    bool ctrl = false;
    bool shift = false;
    int wheel = 0;  // the turn in 120ths of a notch, forward (away from the user) positive
};

// The two points of a trimming window taken with Shift on the converter plot.
struct TrimPoints {
    int first_x = 0;  // where the red lines of the two points stand
    int second_x = 0;
    int first = 0;  // first and last channel; 0: no point yet
    int last = 0;
    int length = 0;
    int press_x = 0;  // the last Shift press, not yet released
    int press_channel = 0;  // 0: none
    // A Shift-click on one channel set both points there; the next Shift-click
    // on one channel makes the window reach to it.
    bool open = false;
    std::string file;  // the converter file the points belong to
};

// What the routine keeps between events.
struct MouseState {
    bool inside_adder = false;  // the pointer is inside that plot
    bool inside_converter = false;
    bool inside_multispectrum = false;
    int wheel_rest = 0;  // a turn short of a notch, in 120ths, over wheel_area
    MouseArea wheel_area = MouseArea::None;
    bool dragging = false;  // the left button drags drag_area
    MouseArea drag_area = MouseArea::None;
    bool legend_drag = false;  // the drag moves the Multispectrum legend
    int x0 = 0;  // where the drag began (the legend: where the pointer was last)
    int y0 = 0;
    int scroll_at_press = 1;  // the page's scroll position when the drag began
    int c0 = 0;  // Multispectrum: the channel under the pointer, noted outside drags
    bool hand = false;  // the hand cursor is shown
    TrimPoints trim;
    // The red lines of the trimming points on the converter plot, until the
    // plot is next drawn.
    std::vector<int> trim_lines;
};

enum class PointerShape { Arrow, Hand };

// What the window does after an event.
struct MouseResult {
    PointerShape pointer = PointerShape::Arrow;  // for the event's area
    bool page_changed = false;         // show the area's page again
    bool trim_lines_changed = false;   // repaint the converter plot
    bool file_line_changed = false;    // show the file line again (SHOW_VORELBOXPARAMETERS)
    std::optional<display::LineNumber> text_line;  // the Text output page scrolls to this line
    bool consumed = false;  // the event was used: the widget does nothing more with it
};

// Handles one mouse event. `viewer` is the Text output page, for the wheel
// over it. Redraws go through the pages' timers.
MouseResult CHECK_VORELBOXMOUSEACTION(AppState& state, Services& services, const MouseEvent& event,
                                      const display::TextViewer* viewer = nullptr);

// The red trimming lines, from the bottom of the canvas up to 51 pixels below its top.
void draw_trim_lines(display::Canvas& canvas, const std::vector<int>& lines);

}  // namespace vorelbox::core
