// The mouse on the plots and the Text output page, through the one routine:
// plots of 600 x 400 pixels whose last drawing put channel X1 at x = 1.

#include <gtest/gtest.h>

#include <string>

#include "app_state.h"
#include "dispatch.h"
#include "fakes/fake_clipboard.h"
#include "fakes/manual_clock.h"
#include "fakes/recording_canvas.h"
#include "fakes/scripted_ui.h"
#include "mouse.h"

using namespace vorelbox;
using core::MouseArea;
using core::MouseEvent;
using core::MouseKind;
using core::PointerShape;

namespace {

constexpr int WIDTH = 600;
constexpr int HEIGHT = 400;
constexpr int CHANNELS = 1000;

class Mouse : public ::testing::Test {
  protected:
    void SetUp() override {
        redraws.draw_spectrum = [this] { ++spectrum_draws; };
        redraws.draw_list = [this] { ++list_draws; };
        redraws.draw_multispectra = [this] { ++multi_draws; };
    }

    // The converter with a spectrum of 1000 channels, drawn at 0.5 pixels a channel.
    void converter(int zoom = 0, int scroll = 1, double px = 0.5) {
        state.program = core::PROGRAM_CONVERTER;
        state.store.CHANNEL_CAPACITY = 1024;
        state.converter.state.file = "run.dat";
        state.converter.state.channels = CHANNELS;
        state.converter.state.first = 1;
        state.converter.state.last = CHANNELS;
        state.converter.page.zoom_index = zoom;
        state.converter.page.scroll_position = scroll;
        state.converter.page.plot_scale = {scroll, px, 1, WIDTH - 1};
    }

    void adder(int zoom = 0, int scroll = 1, double px = 0.5) {
        state.program = core::PROGRAM_ADDER;
        state.store.CHANNEL_CAPACITY = 1024;
        state.adder.page.display_selection = true;
        state.adder.page.input_channels = CHANNELS;
        state.adder.page.displayed_channels = CHANNELS;
        state.adder.page.zoom_index = zoom;
        state.adder.page.scroll_position = scroll;
        state.adder.page.plot_scale = {scroll, px, 1, WIDTH - 1};
    }

    // The Multispectrum plot as drawn on 1024 x 768: frame L 60, R 1014, T 30, B 728.
    void multispectrum(int zoom, int lo, int hi) {
        display::MultispectrumState& m = state.multispectrum;
        m.store.CHANNEL_COUNT = CHANNELS;
        m.page.x_zoom = zoom;
        display::set_channel_edits(m, lo, hi);
        m.layout = {true, {60, 1014, 30, 728}, lo, hi};
        m.legend_left = 700;
        m.legend_bottom = 120;
    }

    core::MouseResult send(MouseKind kind, MouseArea area, int x, int y = 200, bool shift = false) {
        MouseEvent event;
        event.kind = kind;
        event.area = area;
        event.x = x;
        event.y = y;
        event.width = area == MouseArea::MultispectrumPlot ? 1024 : WIDTH;
        event.height = area == MouseArea::MultispectrumPlot ? 768 : HEIGHT;
        event.left = kind == MouseKind::LeftDown || (kind == MouseKind::Move && left_held);
        event.shift = shift;
        if (kind == MouseKind::LeftDown) {
            left_held = true;
        } else if (kind == MouseKind::LeftUp) {
            left_held = false;
        }
        return core::CHECK_VORELBOXMOUSEACTION(state, services, event, &viewer);
    }
    core::MouseResult wheel(MouseArea area, int x, int turn) {
        MouseEvent event;
        event.kind = MouseKind::Wheel;
        event.area = area;
        event.x = x;
        event.y = 200;
        event.width = area == MouseArea::MultispectrumPlot ? 1024 : WIDTH;
        event.height = area == MouseArea::MultispectrumPlot ? 768 : HEIGHT;
        event.wheel = turn;
        return core::CHECK_VORELBOXMOUSEACTION(state, services, event, &viewer);
    }
    // The x of a channel on the converter's plot at 1 pixel a channel from channel 1.
    static int x_of(int channel) { return channel; }

    core::AppState state;
    fakes::ScriptedUi ui;
    fakes::FakeClipboard clipboard{std::nullopt};
    fakes::ManualClock clock;
    core::Redraws redraws;
    core::Services services{ui, clipboard, clock, redraws};
    display::TextViewer viewer;
    bool left_held = false;
    int spectrum_draws = 0;
    int list_draws = 0;
    int multi_draws = 0;
};

TEST_F(Mouse, ConverterShowsTheChannelUnderThePointerAndBlanksItOutside) {
    converter();
    send(MouseKind::Move, MouseArea::ConverterPlot, 101);
    EXPECT_EQ(state.converter.page.pointer_channel, "201");  // 1 + 100 / 0.5
    send(MouseKind::Move, MouseArea::ConverterPlot, 0);
    EXPECT_EQ(state.converter.page.pointer_channel, "1");  // no further left than X1
    state.converter.page.plot_scale = {1, 0.3, 1, WIDTH - 1};
    send(MouseKind::Move, MouseArea::ConverterPlot, 2);  // 1 + 1 / 0.3 = 4.33
    EXPECT_EQ(state.converter.page.pointer_channel, "4");
    state.converter.page.plot_scale = {1, 0.4, 1, WIDTH - 1};
    send(MouseKind::Move, MouseArea::ConverterPlot, 2);  // 1 + 2.5: halves go up
    EXPECT_EQ(state.converter.page.pointer_channel, "4");
    state.converter.page.plot_scale = {state.store.CHANNEL_CAPACITY - 10, 0.5, 1, WIDTH - 1};
    send(MouseKind::Move, MouseArea::ConverterPlot, 500);
    EXPECT_EQ(state.converter.page.pointer_channel, std::to_string(state.store.CHANNEL_CAPACITY));

    send(MouseKind::Move, MouseArea::ConverterPlot, WIDTH + 3);
    EXPECT_EQ(state.converter.page.pointer_channel, "");
    send(MouseKind::Move, MouseArea::ConverterPlot, 50);
    send(MouseKind::Leave, MouseArea::ConverterPlot, -1);
    EXPECT_EQ(state.converter.page.pointer_channel, "");
    state.converter.page.plot_scale = {};  // nothing drawn: nothing to read
    send(MouseKind::Move, MouseArea::ConverterPlot, 50);
    EXPECT_EQ(state.converter.page.pointer_channel, "");
}

TEST_F(Mouse, DraggingAPlotAtZoomZeroOrOneDoesNothing) {
    for (const int zoom : {0, 1}) {
        converter(zoom, 1);
        EXPECT_EQ(send(MouseKind::LeftDown, MouseArea::ConverterPlot, 300).pointer, PointerShape::Arrow);
        send(MouseKind::Move, MouseArea::ConverterPlot, 100);
        EXPECT_EQ(state.converter.page.scroll_position, 1);
        EXPECT_FALSE(state.mouse.dragging);
        send(MouseKind::LeftUp, MouseArea::ConverterPlot, 100);

        adder(zoom, 1);
        send(MouseKind::LeftDown, MouseArea::AdderPlot, 300);
        send(MouseKind::Move, MouseArea::AdderPlot, 100);
        EXPECT_EQ(state.adder.page.scroll_position, 1);
        EXPECT_FALSE(state.mouse.hand);
        send(MouseKind::LeftUp, MouseArea::AdderPlot, 100);
    }
}

TEST_F(Mouse, DraggingAZoomedPlotKeepsTheChannelUnderThePointerAndNeverScrollsBelowOne) {
    converter(5, 100, 2.0);  // 250 channels shown, 2 pixels each
    EXPECT_EQ(send(MouseKind::LeftDown, MouseArea::ConverterPlot, 300).pointer, PointerShape::Hand);
    // To the left of the start: the window moves on into the spectrum.
    auto moved = send(MouseKind::Move, MouseArea::ConverterPlot, 200);
    EXPECT_EQ(moved.pointer, PointerShape::Hand);
    EXPECT_TRUE(moved.page_changed);
    EXPECT_EQ(state.converter.page.scroll_position, 150);
    EXPECT_EQ(state.converter.page.first_displayed, 150);  // the page routine brought the page up to date
    EXPECT_TRUE(clock.pending(core::TIMER_SPECTRUM));
    send(MouseKind::Move, MouseArea::ConverterPlot, 501);
    EXPECT_EQ(state.converter.page.scroll_position, 1);  // 100 - 100.5, kept at 1
    const auto released = send(MouseKind::LeftUp, MouseArea::ConverterPlot, 501);
    EXPECT_EQ(released.pointer, PointerShape::Arrow);
    EXPECT_FALSE(state.mouse.dragging);
    clock.advance(100);
    EXPECT_EQ(spectrum_draws, 1);  // one drawing for the whole drag

    adder(5, 100, 2.0);
    send(MouseKind::LeftDown, MouseArea::AdderPlot, 300);
    send(MouseKind::Move, MouseArea::AdderPlot, 250);
    EXPECT_EQ(state.adder.page.scroll_position, 125);
    EXPECT_EQ(state.adder.page.first_displayed, 125);
    send(MouseKind::LeftUp, MouseArea::AdderPlot, 250);
}

TEST_F(Mouse, AnAdderPlotShowingTheListIsRedrawnByTheListTimer) {
    adder(5, 100, 2.0);
    state.adder.page.display_selection = false;
    state.adder.list.channels = CHANNELS;
    state.adder.page.displayed_channels = CHANNELS;
    send(MouseKind::LeftDown, MouseArea::AdderPlot, 300);
    send(MouseKind::Move, MouseArea::AdderPlot, 280);
    EXPECT_TRUE(clock.pending(core::TIMER_LIST));
    EXPECT_FALSE(clock.pending(core::TIMER_SPECTRUM));
}

TEST_F(Mouse, TheAdderTakesNoShiftClicksAndShowsNoChannel) {
    adder(5, 100, 2.0);
    send(MouseKind::LeftDown, MouseArea::AdderPlot, 300, 200, true);
    EXPECT_FALSE(state.mouse.dragging);  // Shift starts no drag either
    send(MouseKind::LeftUp, MouseArea::AdderPlot, 320, 200, true);
    EXPECT_TRUE(state.mouse.trim_lines.empty());
    EXPECT_EQ(state.mouse.trim.first, 0);
    EXPECT_EQ(state.converter.page.pointer_channel, "");
}

TEST_F(Mouse, ShiftPressAt400AndReleaseAt150GiveTheWindow150To400) {
    converter(0, 1, 1.0);
    const auto pressed = send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(400), 200, true);
    EXPECT_FALSE(state.mouse.dragging);
    EXPECT_TRUE(pressed.trim_lines_changed);
    EXPECT_EQ(state.converter.state.first, 400);
    EXPECT_EQ(ui.status[2], "Trimming starts at        400");
    EXPECT_EQ(state.mouse.trim_lines, std::vector<int>{x_of(400)});

    const auto released = send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(150), 200, true);
    const converter::ConverterState& c = state.converter.state;
    EXPECT_TRUE(c.trim);
    EXPECT_EQ(c.first, 150);
    EXPECT_EQ(c.last, 400);
    EXPECT_EQ(state.mouse.trim.length, 251);
    EXPECT_EQ(state.converter.page.channels_in_spectrum, 251);
    EXPECT_EQ(state.converter.page.channels_in_spectrum_maximum, 851);
    EXPECT_EQ(ui.status[2], "Trimming starts at        150, ends at        400 - lim:        851");
    EXPECT_EQ(state.mouse.trim_lines, (std::vector<int>{x_of(150), x_of(400)}));
    EXPECT_TRUE(released.file_line_changed);
    EXPECT_TRUE(released.page_changed);
    // The drawing that follows shows the window and replaces the lines.
    EXPECT_TRUE(clock.pending(core::TIMER_SPECTRUM));
}

TEST_F(Mouse, TwoShiftClicksMakeAWindowBetweenThem) {
    converter(0, 1, 1.0);
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(400), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(400), 200, true);
    EXPECT_EQ(state.converter.state.first, 400);
    EXPECT_EQ(state.converter.state.last, 400);
    EXPECT_EQ(state.converter.page.channels_in_spectrum, 1);
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(150), 200, true);
    EXPECT_EQ(state.mouse.trim_lines, (std::vector<int>{x_of(400), x_of(150)}));
    EXPECT_EQ(state.converter.state.first, 400);  // the second press keeps the first point
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(150), 200, true);
    EXPECT_EQ(state.converter.state.first, 150);
    EXPECT_EQ(state.converter.state.last, 400);
    EXPECT_EQ(state.converter.page.channels_in_spectrum, 251);
    EXPECT_EQ(state.mouse.trim_lines, (std::vector<int>{x_of(150), x_of(400)}));

    // A single click whose window was changed since starts a new window.
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(200), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(200), 200, true);
    state.converter.state.last = 250;  // "Channels in spectrum" was set by hand
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(300), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(300), 200, true);
    EXPECT_EQ(state.converter.state.first, 300);
    EXPECT_EQ(state.converter.state.last, 300);

    // A Shift-drag makes a window of its own, and a click after it starts a new one;
    // a click on another file starts afresh.
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(100), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(120), 200, true);
    EXPECT_EQ(state.converter.state.first, 100);
    EXPECT_EQ(state.converter.state.last, 120);
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(580), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(580), 200, true);
    EXPECT_EQ(state.converter.state.first, 580);
    EXPECT_EQ(state.converter.state.last, 580);
    EXPECT_EQ(state.mouse.trim_lines, std::vector<int>{x_of(580)});
    state.converter.state.file = "other.dat";
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(590), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(590), 200, true);
    EXPECT_EQ(state.converter.state.first, 590);
    EXPECT_EQ(state.converter.state.last, 590);
}

TEST_F(Mouse, TrimmingPointsStayInsideTheSpectrum) {
    converter(0, 1, 1.0);
    state.converter.state.channels = 500;  // the plot reaches past the last channel
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, x_of(450), 200, true);
    send(MouseKind::LeftUp, MouseArea::ConverterPlot, x_of(590), 200, true);
    EXPECT_EQ(state.converter.state.first, 450);
    EXPECT_EQ(state.converter.state.last, 500);
    EXPECT_EQ(state.converter.page.channels_in_spectrum, 51);
    EXPECT_EQ(state.converter.page.channels_in_spectrum_maximum, 51);
}

TEST_F(Mouse, TrimLinesAreDrawnFromTheBottomUpTo51PixelsBelowTheTop) {
    fakes::RecordingCanvas canvas(WIDTH, HEIGHT, 50.0);
    core::draw_trim_lines(canvas, {120, 300});
    std::vector<std::vector<int>> lines;
    for (const auto& call : canvas.calls) {
        if (call.op == "line") {
            lines.push_back(call.numbers);
        } else if (call.op == "pen") {
            EXPECT_EQ(call.numbers, (std::vector<int>{1, 0xFF0000}));
        }
    }
    EXPECT_EQ(lines, (std::vector<std::vector<int>>{{120, HEIGHT - 1, 120, 51}, {300, HEIGHT - 1, 300, 51}}));
}

TEST_F(Mouse, LeavingAPlotEndsTheDragAndRestoresTheArrow) {
    converter(5, 100, 2.0);
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, 300);
    EXPECT_TRUE(state.mouse.hand);
    EXPECT_EQ(send(MouseKind::Move, MouseArea::ConverterPlot, -5).pointer, PointerShape::Arrow);
    EXPECT_FALSE(state.mouse.dragging);
    EXPECT_FALSE(state.mouse.hand);
    send(MouseKind::Move, MouseArea::ConverterPlot, 250);  // back inside, the button still down
    EXPECT_EQ(state.converter.page.scroll_position, 100);

    send(MouseKind::LeftUp, MouseArea::ConverterPlot, 250);
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, 300);
    EXPECT_EQ(send(MouseKind::Leave, MouseArea::ConverterPlot, -1).pointer, PointerShape::Arrow);
    EXPECT_FALSE(state.mouse.dragging);

    // A release that never arrived: the next move without the button ends the drag.
    send(MouseKind::LeftDown, MouseArea::ConverterPlot, 300);
    left_held = false;
    send(MouseKind::Move, MouseArea::ConverterPlot, 200);
    EXPECT_FALSE(state.mouse.dragging);
    EXPECT_EQ(state.converter.page.scroll_position, 100);
}

TEST_F(Mouse, APlotOfTheOtherProgramTakesNothing) {
    converter(5, 100, 2.0);
    state.adder.page.zoom_index = 5;
    state.adder.page.plot_scale = {1, 2.0, 1, WIDTH - 1};
    send(MouseKind::LeftDown, MouseArea::AdderPlot, 300);
    EXPECT_FALSE(state.mouse.dragging);
    wheel(MouseArea::AdderPlot, 300, 120);
    EXPECT_EQ(state.adder.page.zoom_index, 5);
}

TEST_F(Mouse, TheWheelScrollsTheTextByThreeLinesANotchNeverBeforeLineOne) {
    viewer.shown_file = "report.txt";
    viewer.line_count = 100;
    viewer.first_line = 5;
    auto result = wheel(MouseArea::TextOutput, 10, 120);
    EXPECT_TRUE(result.consumed);
    ASSERT_TRUE(result.text_line);
    EXPECT_EQ(*result.text_line, 2);
    viewer.first_line = *result.text_line;
    result = wheel(MouseArea::TextOutput, 10, 120);
    EXPECT_EQ(*result.text_line, 1);
    viewer.first_line = 1;
    EXPECT_EQ(*wheel(MouseArea::TextOutput, 10, -120).text_line, 4);

    viewer.shown_file.clear();  // nothing shown: nothing to scroll
    EXPECT_FALSE(wheel(MouseArea::TextOutput, 10, 120).text_line);
}

TEST_F(Mouse, TouchpadTurnsAddUpToWholeNotches) {
    viewer.shown_file = "report.txt";
    viewer.line_count = 100;
    viewer.first_line = 50;
    EXPECT_FALSE(wheel(MouseArea::TextOutput, 10, 40).text_line);
    EXPECT_FALSE(wheel(MouseArea::TextOutput, 10, 40).text_line);
    EXPECT_EQ(*wheel(MouseArea::TextOutput, 10, 50).text_line, 47);  // 130: one notch, 10 kept
    // A turn the other way starts afresh.
    EXPECT_FALSE(wheel(MouseArea::TextOutput, 10, -100).text_line);
    EXPECT_EQ(*wheel(MouseArea::TextOutput, 10, -20).text_line, 53);

    converter(3, 1, 1.0);
    for (int i = 0; i < 11; ++i) {
        wheel(MouseArea::ConverterPlot, 300, 10);
    }
    EXPECT_EQ(state.converter.page.zoom_index, 3);
    wheel(MouseArea::ConverterPlot, 300, 10);
    EXPECT_EQ(state.converter.page.zoom_index, 2);
}

TEST_F(Mouse, TheWheelZoomsAboutThePointerWithinEachPagesLimits) {
    // 500 channels shown from 251, 1 pixel each; the pointer half-way, over channel 501.
    converter(3, 251, 1.0);
    state.converter.page.plot_scale = {251, 1.0, 1, 501};
    auto result = wheel(MouseArea::ConverterPlot, 251, 120);
    EXPECT_TRUE(result.consumed);
    EXPECT_TRUE(result.page_changed);
    EXPECT_EQ(state.converter.page.zoom_index, 2);
    EXPECT_EQ(state.converter.page.scroll_position, 144);  // 501 - 714 / 2, rounded
    EXPECT_TRUE(state.converter.page.center_peak_enabled);
    EXPECT_TRUE(clock.pending(core::TIMER_SPECTRUM));
    wheel(MouseArea::ConverterPlot, 251, 3 * 120);
    EXPECT_EQ(state.converter.page.zoom_index, 0);
    EXPECT_FALSE(state.converter.page.center_peak_enabled);
    EXPECT_EQ(state.converter.page.scroll_position, 1);
    wheel(MouseArea::ConverterPlot, 251, -20 * 120);
    EXPECT_EQ(state.converter.page.zoom_index, 12);

    adder(3, 1, 1.0);
    wheel(MouseArea::AdderPlot, 100, 5 * 120);
    EXPECT_EQ(state.adder.page.zoom_index, 1);  // the adder goes no lower than 1
    EXPECT_FALSE(state.adder.page.center_peak_enabled);
    wheel(MouseArea::AdderPlot, 100, -120);
    EXPECT_EQ(state.adder.page.zoom_index, 2);
    EXPECT_TRUE(state.adder.page.center_peak_enabled);
}

TEST_F(Mouse, TheLegendIsDraggedNoFurtherThan100PixelsInsideTheFrame) {
    multispectrum(0, 1, CHANNELS);
    EXPECT_EQ(send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 710, 80).pointer, PointerShape::Hand);
    EXPECT_TRUE(state.mouse.legend_drag);
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 1010, 80);
    EXPECT_EQ(state.multispectrum.legend_left, 1014 - 100);
    EXPECT_TRUE(clock.pending(core::TIMER_MULTI));
    // While that drawing is pending the legend waits.
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 100, 80);
    EXPECT_EQ(state.multispectrum.legend_left, 914);
    clock.advance(100);
    EXPECT_EQ(multi_draws, 1);
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 100, 80);
    EXPECT_EQ(state.multispectrum.legend_left, 60 + 20);
    send(MouseKind::LeftUp, MouseArea::MultispectrumPlot, 100, 80);
    EXPECT_FALSE(state.mouse.dragging);

    // Below the legend, or above T + 30, a press at zoom 1 starts nothing.
    state.multispectrum.page.x_zoom = 1;
    send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 100, 300);
    send(MouseKind::LeftUp, MouseArea::MultispectrumPlot, 100, 300);
    send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 100, 50);
    EXPECT_FALSE(state.mouse.dragging);
}

TEST_F(Mouse, AZoomedMultispectrumIsDraggedByTheChannelNotedBeforeThePress) {
    multispectrum(4, 301, 549);  // 248 channels across L 60 .. R 1014
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 537, 400);
    EXPECT_EQ(state.mouse.c0, 301 + (537 - 60) * 248 / 954);  // 425
    send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 537, 400);
    EXPECT_TRUE(state.mouse.dragging);
    EXPECT_FALSE(state.mouse.legend_drag);
    const auto result = send(MouseKind::Move, MouseArea::MultispectrumPlot, 300, 400);
    EXPECT_TRUE(result.page_changed);
    // lower = 425 - trunc(248 * 240 / 954) = 363, upper 363 + 248
    EXPECT_EQ(state.multispectrum.page.lower_channel, "363");
    EXPECT_EQ(state.multispectrum.page.upper_channel, "611");
    send(MouseKind::LeftUp, MouseArea::MultispectrumPlot, 300, 400);
    clock.advance(100);

    // Far to the right the window starts at channel 1; it never ends past the last one.
    multispectrum(4, 101, 349);
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 100, 400);
    send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 100, 400);
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 1000, 400);
    EXPECT_EQ(state.multispectrum.page.lower_channel, "1");
    send(MouseKind::LeftUp, MouseArea::MultispectrumPlot, 1000, 400);
    clock.advance(100);
    multispectrum(4, 700, 948);
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 1000, 400);
    send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 1000, 400);
    send(MouseKind::Move, MouseArea::MultispectrumPlot, 61, 400);
    EXPECT_EQ(state.multispectrum.page.upper_channel, std::to_string(CHANNELS));
}

TEST_F(Mouse, TheWheelZoomsTheMultispectrumAboutThePointer) {
    multispectrum(4, 1, CHANNELS);
    const auto result = wheel(MouseArea::MultispectrumPlot, 537, 2 * 120);
    EXPECT_TRUE(result.page_changed);
    EXPECT_EQ(state.multispectrum.page.x_zoom, 2);
    EXPECT_TRUE(state.multispectrum.page.peak_enabled);
    // The channel under x 537 (500) stays at half the width of the new window of 714.
    const int lower = std::stoi(state.multispectrum.page.lower_channel);
    EXPECT_EQ(lower, 500 - 714 / 2);
    EXPECT_EQ(std::stoi(state.multispectrum.page.upper_channel), lower + 713);
    EXPECT_TRUE(clock.pending(core::TIMER_MULTI));
    wheel(MouseArea::MultispectrumPlot, 537, 5 * 120);
    EXPECT_EQ(state.multispectrum.page.x_zoom, 0);
    EXPECT_FALSE(state.multispectrum.page.peak_enabled);
    EXPECT_EQ(state.multispectrum.page.lower_channel, "1");
    EXPECT_EQ(state.multispectrum.page.upper_channel, std::to_string(CHANNELS));
}

TEST_F(Mouse, AnUndrawnMultispectrumTakesNoDrag) {
    multispectrum(4, 1, CHANNELS);
    state.multispectrum.layout.drawn = false;
    send(MouseKind::LeftDown, MouseArea::MultispectrumPlot, 710, 80);
    EXPECT_FALSE(state.mouse.dragging);
}

}  // namespace
