// The Multispectrum plot: its geometry, its page commands and range controls,
// and its drawing on a recording canvas of 1024 x 768 at 50 units per cm
// (graph unit 1, font 10 points, so the frame is L 60, R 1014, T 30, B 728).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fakes/file_filters.h"
#include "fakes/recording_canvas.h"
#include "fakes/recording_print_device.h"
#include "fakes/scripted_ui.h"
#include "foreign_formats.h"
#include "multispectrum.h"
#include "multispectrum_paint.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;
using namespace vorelbox;
using namespace vorelbox::display;
using Call = fakes::RecordingCanvas::Call;

constexpr MultiFrame FRAME{60, 1014, 30, 728};

// A native spectrum file of spectra whose channel i counts value(k, i).
template <typename Value>
std::string native_text(int spectra, int channels, Value value) {
    std::string text;
    for (int k = 1; k <= spectra; ++k) {
        text += "Spectrum " + std::to_string(k) + " of the run\n";
        for (int i = 1; i <= channels; ++i) {
            std::string number = std::to_string(static_cast<long>(value(k, i)));
            text += std::string(8 - std::min<std::size_t>(8, number.size()), ' ') + number;
            text += (i % 10 == 0 || i == channels) ? "\n" : "";
        }
    }
    return text;
}

class Multispectrum : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_multi_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { support::remove_folder(dir_); }

    std::string write(const std::string& text, const std::string& name = "run.dat") {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // The state after "&Find spectra" chose a file of `spectra` x `channels` channels.
    template <typename Value>
    void find(int spectra, int channels, Value value) {
        ui.choose(write(native_text(spectra, channels, value)));
        SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::FindSpectra);
    }

    std::vector<int> drawn() const {
        std::vector<int> out;
        for (int i = 1; i <= MULTI_SPECTRA; ++i) {
            if (state.drawn[static_cast<std::size_t>(i - 1)]) {
                out.push_back(i);
            }
        }
        return out;
    }

    void range(MultiControl control, MultiReason reason = MultiReason::Change) {
        MULTISPECTRUM_RANGES_FOR_VORELBOX(state, ui, control, reason);
    }

    fakes::RecordingCanvas paint(int width = 1024, int height = 768) {
        fakes::RecordingCanvas canvas(width, height);
        prepare_multispectra(state, ui);
        paint_multispectra(canvas, PlotTarget::Show, state, print::PageSetup{});
        return canvas;
    }

    fs::path dir_;
    fakes::ScriptedUi ui;
    MultispectrumState state;
};

const Call* find_text(const fakes::RecordingCanvas& canvas, const std::string& text) {
    const auto it = std::find_if(canvas.calls.begin(), canvas.calls.end(),
                                 [&](const Call& c) { return c.op == "text" && c.text == text; });
    return it == canvas.calls.end() ? nullptr : &*it;
}

// The marker outlines drawn after the legend heading, with their pen colours.
std::vector<std::pair<int, Call>> data_polylines(const fakes::RecordingCanvas& canvas) {
    std::vector<std::pair<int, Call>> out;
    int colour = 0;
    bool after_heading = false;
    for (const Call& c : canvas.calls) {
        after_heading = after_heading || (c.op == "text" && c.text == "Selected spectra");
        if (c.op == "pen") {
            colour = c.numbers[1];
        } else if (after_heading && c.op == "polyline") {
            out.emplace_back(colour, c);
        }
    }
    return out;
}

TEST(MultispectrumGeometry, ChannelAxisStepsTicksAndLabels) {
    EXPECT_EQ((std::vector<double>{axis_step(0), axis_step(1), axis_step(2), axis_step(3),
                                   axis_step(4), axis_step(5), axis_step(7), axis_step(8)}),
              (std::vector<double>{5, 10, 25, 50, 100, 250, 1000, 2500}));

    // 999 channels: 100 is the first step with at most 10 intervals; ticks every 20.
    const ChannelAxis axis = channel_axis(1, 1000, FRAME, 1);
    EXPECT_EQ(axis.major, 100.0);
    EXPECT_EQ(axis.minor, 20);
    EXPECT_TRUE(axis.first_is_one);
    ASSERT_GE(axis.ticks.size(), 5u);
    EXPECT_EQ(axis.ticks[0].value, 20);
    EXPECT_EQ(axis.ticks[0].position, static_cast<int>(60 + 19 * 954.0 / 999));
    EXPECT_EQ(axis.ticks[0].length, 4);
    EXPECT_TRUE(axis.ticks[0].label.empty());
    EXPECT_EQ(axis.ticks[4].label, "100");
    EXPECT_EQ(axis.ticks[4].length, 8);
    EXPECT_LT(axis.ticks.back().position, FRAME.right);

    // Fewer than three major steps label every tick; a window not at 1 skips values below it.
    const ChannelAxis narrow = channel_axis(101, 111, FRAME, 1);
    EXPECT_FALSE(narrow.first_is_one);
    EXPECT_EQ(narrow.ticks.front().value, 101);
    EXPECT_TRUE(std::all_of(narrow.ticks.begin(), narrow.ticks.end(),
                            [](const AxisMark& t) { return !t.label.empty(); }));

    // A window of one channel, or none, divides by nothing.
    for (const auto& [lo, hi] : {std::pair{5, 5}, std::pair{9, 3}}) {
        const ChannelAxis empty = channel_axis(lo, hi, FRAME, 1);
        EXPECT_TRUE(std::isfinite(empty.pixels_per_channel));
    }
}

TEST(MultispectrumGeometry, LinearCountAxisZoomScrollAndThousands) {
    const LinearAxis axis = linear_axis(1000.0, 1.0, 0, FRAME, 1);
    EXPECT_EQ(axis.top_value, 1100);
    EXPECT_EQ(axis.major, 250.0);
    EXPECT_EQ(axis.minor, 50);
    EXPECT_EQ(axis.label_step, 250);
    EXPECT_EQ(axis.divisor, 1);
    EXPECT_EQ(linear_y(axis, FRAME, 0.0), FRAME.bottom);
    EXPECT_EQ(linear_y(axis, FRAME, 1100.0), FRAME.top);
    ASSERT_FALSE(axis.ticks.empty());
    EXPECT_EQ(axis.ticks[0].length, 30);
    EXPECT_EQ(axis.ticks[0].label, "0");
    std::vector<std::string> labels;
    for (const AxisMark& t : axis.ticks) {
        EXPECT_TRUE(t.position > FRAME.top && t.position <= FRAME.bottom);
        if (!t.label.empty()) {
            labels.push_back(t.label);
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "250", "500", "750", "1000"}));

    // Zoomed twice and scrolled half-way: the count at the offset sits on the bottom edge.
    const LinearAxis zoomed = linear_axis(1000.0, 2.0, 500, FRAME, 1);
    EXPECT_EQ(zoomed.top_value, 1050);
    EXPECT_EQ(linear_y(zoomed, FRAME, 525.0), FRAME.bottom);

    const LinearAxis large = linear_axis(2.0e6, 1.0, 0, FRAME, 1);
    EXPECT_EQ(large.divisor, 1000);
    EXPECT_NE(std::find_if(large.ticks.begin(), large.ticks.end(),
                           [](const AxisMark& t) { return t.label == "500"; }),
              large.ticks.end());

    // Nothing but zeros: an axis of one count, no division by zero.
    const LinearAxis empty = linear_axis(0.0, 1.0, 0, FRAME, 1);
    EXPECT_EQ(empty.top_value, 1);
    EXPECT_TRUE(std::isfinite(empty.per_count));
}

TEST(MultispectrumGeometry, LogAxisTopIsStickyAndLabelsItsDecades) {
    EXPECT_DOUBLE_EQ(sticky_log_top(0.0, 1.0e4), 4.4);
    EXPECT_DOUBLE_EQ(sticky_log_top(4.4, 1.5e4), 4.4);  // within 1.05..1.2 of the maximum's decades
    EXPECT_DOUBLE_EQ(sticky_log_top(4.4, 2.0e4), 1.05 * std::log10(2.0e4));
    EXPECT_DOUBLE_EQ(sticky_log_top(1100.0, 1.0e3), 3.6);  // after a linear drawing: 1.2 decades
    for (const double flat : {0.0, 1.0, -5.0}) {
        EXPECT_EQ(sticky_log_top(0.0, flat), 1.0) << flat;
    }

    const LogAxis axis = log_axis(4.4, FRAME, 1);
    std::vector<int> exponents;
    for (const LogAxis::Decade& d : axis.labels) {
        exponents.push_back(d.exponent);
        EXPECT_EQ(d.y, to_device(FRAME.bottom + (d.exponent - LOG_AXIS_BOTTOM) * axis.per_decade));
    }
    EXPECT_EQ(exponents, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(log_y(axis, FRAME, 1.1), FRAME.bottom);
    for (const AxisMark& t : axis.ticks) {
        EXPECT_TRUE(t.position > FRAME.top && t.position < FRAME.bottom);
        EXPECT_EQ(t.length, t.value == 1 ? 10 : (t.value == 5 ? 7 : 5));
    }

    // No logarithm of zero or of a negative count.
    EXPECT_DOUBLE_EQ(log_value(0.0), std::log10(0.5));
    EXPECT_DOUBLE_EQ(log_value(-7.0), std::log10(0.5));
    EXPECT_DOUBLE_EQ(log_value(0.05), -1.0);
    EXPECT_DOUBLE_EQ(log_value(100.0), 2.0);
}

TEST(MultispectrumGeometry, SixMarkerShapesAndColours) {
    const std::vector<std::vector<int>> outlines{
        {100, 44, 96, 52, 104, 52, 100, 44},         // triangle up
        {96, 46, 96, 54, 104, 54, 104, 46, 96, 46},  // square
        {100, 44, 96, 46, 94, 50, 96, 54, 100, 56, 104, 54, 106, 50, 104, 46, 100, 44},  // octagon
        {100, 44, 94, 50, 100, 56, 106, 50, 100, 44},                                    // diamond
        {100, 56, 96, 48, 104, 48, 100, 56},  // triangle down
    };
    for (int n = 1; n <= 7; ++n) {
        fakes::RecordingCanvas canvas;
        DRAW_MARKER(canvas, n, 100, 50, 2);
        if (n == 6) {
            ASSERT_EQ(canvas.calls.size(), 2u);
            EXPECT_EQ(canvas.calls[0].numbers, (std::vector<int>{95, 45, 106, 56}));
            EXPECT_EQ(canvas.calls[1].numbers, (std::vector<int>{105, 45, 94, 56}));
            continue;
        }
        ASSERT_EQ(canvas.calls.size(), 1u) << n;
        EXPECT_EQ(canvas.calls[0].numbers, outlines[static_cast<std::size_t>((n - 1) % 6)]) << n;
    }
    EXPECT_EQ(spectrum_colour(2), 0xD20000u);
    EXPECT_EQ(spectrum_colour(3), 0x009B00u);
    EXPECT_EQ(spectrum_colour(8), 0x808000u);
    EXPECT_EQ(spectrum_colour(9), 0x000000u);
}

// The pixels of markers of `pixels` at x on each of `rows`, inside the clip.
std::set<std::pair<int, int>> marker_pixel_set(const std::vector<PixelRun>& pixels, int x,
                                               const std::set<int>& rows, const print::Rect& clip) {
    std::set<std::pair<int, int>> out;
    for (const int y : rows) {
        for (const PixelRun& r : pixels) {
            for (int row = y + r.top; row <= y + r.bottom; ++row) {
                if (x + r.dx >= clip.left && x + r.dx < clip.right && row >= clip.top &&
                    row < clip.bottom) {
                    out.insert({x + r.dx, row});
                }
            }
        }
    }
    return out;
}

// The pixels of strokes; false in `once` when one is covered twice.
std::set<std::pair<int, int>> stroke_pixels(const std::vector<Stroke>& strokes, bool& once) {
    std::set<std::pair<int, int>> out;
    for (const Stroke& s : strokes) {
        for (int y = s.top; y <= s.bottom; ++y) {
            once = out.insert({s.x, y}).second && once;
        }
    }
    return out;
}

TEST(MultispectrumGeometry, GatheredMarkersCoverTheirPixelsOnce) {
    // 140 rows: a column spans three words. Unit 9 gives runs of 37 rows.
    const print::Rect clip{5, 10, 45, 150};
    std::mt19937 random(7);
    for (const int unit : {1, 2, 9}) {
        const int reach = 4 * unit;
        for (int n = 1; n <= 6; ++n) {
            const std::vector<PixelRun> pixels = marker_pixels(n, unit);
            for (int trial = 0; trial < 12; ++trial) {
                RowSet centres(clip.top - reach, clip.bottom - clip.top + 2 * reach);
                std::set<int> rows;
                // A stack, then scattered rows; some fall outside the set and are left out.
                const int stack =
                    std::uniform_int_distribution<int>(clip.top - reach, clip.bottom)(random);
                const int height = std::uniform_int_distribution<int>(0, 80)(random);
                std::uniform_int_distribution<int> anywhere(clip.top - 2 * reach,
                                                            clip.bottom + 2 * reach);
                std::vector<int> added;
                for (int y = stack; y < stack + height; ++y) {
                    added.push_back(y);
                }
                for (int k = trial % 4 * 5; k > 0; --k) {
                    added.push_back(anywhere(random));
                }
                for (const int y : added) {
                    centres.add(y);
                    if (y >= clip.top - reach && y < clip.bottom + reach) {
                        rows.insert(y);
                    }
                }
                std::vector<int> listed;
                centres.for_each([&](int y) { listed.push_back(y); });
                EXPECT_EQ(listed, std::vector<int>(rows.begin(), rows.end()));

                const int x = std::array{clip.left - 2 * unit, 20, clip.right}[trial % 3];
                MarkerRaster raster(clip);
                raster.mark_markers(pixels, x, centres);
                raster.mark_markers(pixels, x, centres);  // twice: gathered once
                std::vector<Stroke> strokes;
                raster.take_strokes(strokes);
                bool once = true;
                EXPECT_EQ(stroke_pixels(strokes, once), marker_pixel_set(pixels, x, rows, clip))
                    << "shape " << n << ", unit " << unit << ", trial " << trial;
                EXPECT_TRUE(once);

                centres.clear();
                EXPECT_TRUE(centres.empty());
                raster.mark_markers(pixels, x, centres);
                raster.take_strokes(strokes);
                EXPECT_TRUE(strokes.empty());
            }
        }
    }
}

TEST(MultispectrumGeometry, DeviceCoordinatesFitAnIntAndWhatIsNoNumberLiesFarOutside) {
    EXPECT_EQ(to_device(12.9), 12);
    EXPECT_EQ(to_device(-12.9), -12);
    EXPECT_EQ(to_device(1.0e300), 10000000);
    EXPECT_EQ(to_device(-std::numeric_limits<double>::infinity()), -10000000);
    EXPECT_EQ(to_device(std::nan("")), -10000000);
}

TEST(MultispectrumGeometry, LogRowsAreThoseOfTheLogarithms) {
    // Counts in the table and beyond it, on frames of any height, upside down too.
    const std::vector<double> odd{-3.0,  -0.0,    0.05,    0.1,     0.5,    2.5,
                                  99.99, 65535.5, 65536.0, 65537.0, 1.0e12, std::nan("")};
    for (const MultiFrame& frame :
         {FRAME, MultiFrame{60, 1014, 30, 45}, MultiFrame{60, 1014, 728, 30}}) {
        for (const double top : {1.0, 5.9, 12.0}) {
            const LogAxis axis = log_axis(top, frame, 1);
            for (const double largest : {-1.0, 7.5, 1.0e9}) {
                const LogRows rows(axis, frame, largest);
                int wrong = 0;
                for (int count = 0; count <= 70000; ++count) {
                    wrong += rows(count) != log_y(axis, frame, count) ? 1 : 0;
                }
                for (const double count : odd) {
                    wrong += rows(count) != log_y(axis, frame, count) ? 1 : 0;
                }
                EXPECT_EQ(wrong, 0)
                    << "top " << top << ", largest " << largest << ", frame " << frame.top;
            }
        }
    }
}

TEST(MultispectrumTexts, SelectionLinesAndPictureNames) {
    EXPECT_EQ(selection_line(7, "Run seven   "), "7     \tRun seven");
    EXPECT_EQ(selection_line(100, "x"), "100   \tx");
    std::array<bool, MULTI_SPECTRA> flags{};
    EXPECT_EQ(multiplot_picture_name("C:\\data\\run.dat", flags), "C:\\data\\run.emf");
    flags[4] = true;
    EXPECT_EQ(multiplot_picture_name("C:\\data\\run.dat", flags), "C:\\data\\run and 5.emf");
    flags[0] = flags[1] = true;
    EXPECT_EQ(multiplot_picture_name("/d/run.dat", flags), "/d/run 1,2 and 5.emf");
}

TEST_F(Multispectrum, FindSpectraLoadsTheFirstSixAndItsWindow) {
    ui.choose("");
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::FindSpectra);
    EXPECT_TRUE(state.file_name.empty());
    EXPECT_FALSE(state.redraw_request);
    EXPECT_EQ(ui.file_requests[0].title, "Vorelix Spectrum");

    find(8, 30, [](int k, int i) { return 10 * k + i; });
    EXPECT_EQ(state.page.out_of, 8);
    EXPECT_EQ(state.page.selected, 6);
    EXPECT_EQ(drawn(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(state.page.lower_channel, "1");
    EXPECT_EQ(state.page.upper_channel, "30");
    ASSERT_EQ(state.page.selection_lines.size(), 8u);
    EXPECT_EQ(state.page.selection_lines[7], "8     \tSpectrum 8 of the run");
    EXPECT_EQ(state.count_maximum, 90.0);
    EXPECT_TRUE(state.redraw_request);

    ui.choose(write("just words\n", "words.txt"));
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::FindSpectra);
    EXPECT_EQ(ui.texts().back(), "This is not a proper spectrum file");
    EXPECT_EQ(state.page.out_of, 0);
}

// "&Find spectra" offers what the page reads, and only that: native files
// first, then the other kinds the file identification knows.
TEST_F(Multispectrum, FindSpectraOffersTheKindsThePageReads) {
    ui.choose("");
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::FindSpectra);
    ASSERT_EQ(ui.file_requests.size(), 1u);
    const auto& filters = ui.file_requests[0].filters;
    ASSERT_FALSE(filters.empty());
    EXPECT_EQ(filters.front().pattern, "*.dat");
    EXPECT_EQ(filters.back().pattern, "*.*");
    const std::set<std::string> offered = fakes::offered_extensions(filters);
    for (const std::string& extension : offered) {
        EXPECT_TRUE(spectra::is_identified_spectrum_name("run" + extension)) << extension;
    }
    std::vector<std::string> names = fakes::other_instrument_names();
    names.insert(names.end(), {"m.chn", "n.SPE", "o.lmc", "p.cvc"});
    for (const std::string& name : names) {
        ASSERT_TRUE(spectra::is_identified_spectrum_name(name)) << name;
        EXPECT_EQ(offered.count(common::LOWCASE(name.substr(name.find('.')))), 1u)
            << name << " is read by the page but not offered";
    }

    // An eight-detector N42 chosen there shows all eight spectra.
    ui.choose(std::string(VORELBOX_FORMATS_DATA) + "/ba133_source_640s_20100317.n42");
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::FindSpectra);
    EXPECT_EQ(state.file_type, "N42");
    EXPECT_EQ(state.page.out_of, 8);
    EXPECT_EQ(channel_count(state), 16384);
    EXPECT_EQ(drawn(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(Multispectrum, WhatTheUserSelectsIsWhatIsDrawn) {
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::Select);
    EXPECT_EQ(ui.texts().back(), "No spectrum available");

    find(1, 20, [](int, int i) { return i; });
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::Select);
    EXPECT_EQ(ui.status[2], "Only one spectrum in file");
    EXPECT_FALSE(state.page.selection_shown);

    find(9, 20, [](int k, int i) { return k * i; });
    state.legend_left = 500;
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::Select);
    EXPECT_TRUE(state.page.selection_shown);
    EXPECT_EQ(state.page.selected, 9);
    EXPECT_EQ(state.page.highlighted, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    state.page.highlighted = {8, 2, 9};
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::SelectionOk);
    EXPECT_FALSE(state.page.selection_shown);
    EXPECT_EQ(state.legend_left, 0);
    EXPECT_EQ(state.count_maximum, 180.0);  // from 0, over the chosen ones
    prepare_multispectra(state, ui);        // the next drawing keeps the choice
    EXPECT_EQ(drawn(), (std::vector<int>{2, 8, 9}));
    EXPECT_EQ(state.page.selected, 3);

    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::SelectAll);
    prepare_multispectra(state, ui);
    EXPECT_EQ(drawn().size(), 9u);
    EXPECT_EQ(state.page.selected, 9);

    state.page.highlighted.clear();
    state.redraw_request = false;
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::SelectionOk);
    EXPECT_FALSE(state.redraw_request);
    EXPECT_EQ(find_text(paint(), NO_ANALYSIS_SELECTED)->numbers[0], 512 - 6 * 20 / 2);

    // A new file drops the choice; a file changed on disk is read again.
    find(3, 20, [](int, int i) { return i; });
    EXPECT_EQ(drawn(), (std::vector<int>{1, 2, 3}));
    std::ofstream(state.file_name, std::ios::binary)
        << native_text(2, 25, [](int, int i) { return i; }) << "\n";
    prepare_multispectra(state, ui);
    EXPECT_EQ(state.page.out_of, 2);
    EXPECT_EQ(drawn(), (std::vector<int>{1, 2}));
}

TEST_F(Multispectrum, RangeControlsKeepTheWindowConsistent) {
    find(2, 1000, [](int, int i) { return i == 700 ? 5000 : 10; });
    range(MultiControl::None, MultiReason::Refresh);
    EXPECT_EQ(state.window, 1000);

    // Zooming in keeps the window's middle.
    state.page.x_zoom = 5;  // factor 4
    range(MultiControl::XZoom);
    EXPECT_EQ(state.page.lower_channel, "377");
    EXPECT_EQ(state.page.upper_channel, "626");
    EXPECT_EQ(state.page.x_scroll, 377);
    EXPECT_EQ(state.page.x_scroll_page, 250);
    EXPECT_TRUE(state.page.peak_enabled);
    EXPECT_TRUE(state.redraw_request);

    state.page.x_scroll = 900;  // past the last full window
    range(MultiControl::XScroll);
    EXPECT_EQ(state.page.lower_channel, "751");
    EXPECT_EQ(state.page.upper_channel, "1000");
    EXPECT_EQ(state.page.x_scroll, 900);  // the bar keeps its place
    EXPECT_EQ(state.previous_scroll, 900);

    paint();
    EXPECT_EQ(state.peak_channel, 700.0);
    range(MultiControl::Peak, MultiReason::Click);
    EXPECT_EQ(state.page.lower_channel, "575");
    EXPECT_EQ(state.page.upper_channel, "824");
    state.page.x_zoom = 12;  // factor 40: centred on the peak
    range(MultiControl::XZoom);
    EXPECT_EQ(state.page.lower_channel, "688");
    EXPECT_EQ(state.page.upper_channel, "712");

    state.page.x_zoom = 1;
    state.page.lower_channel = "20";
    range(MultiControl::Peak, MultiReason::Click);
    EXPECT_EQ(state.page.lower_channel, "20");
    EXPECT_FALSE(state.page.peak_enabled);

    range(MultiControl::Whole, MultiReason::Click);
    EXPECT_EQ(state.page.x_zoom, 0);
    EXPECT_EQ(state.page.lower_channel, "1");
    EXPECT_EQ(state.page.upper_channel, "1000");

    state.page.log = true;
    range(MultiControl::Log, MultiReason::Click);
    EXPECT_EQ(state.page.log_letters, "o\rg");

    // The vertical scroll bar does nothing at vertical zoom position 1.
    state.page.y_zoom = 1;
    state.page.y_scroll = 400;
    state.redraw_request = false;
    range(MultiControl::YScroll);
    EXPECT_EQ(state.y_scroll, 0);
    EXPECT_FALSE(state.redraw_request);
    state.page.y_zoom = 3;
    range(MultiControl::YZoom);
    EXPECT_EQ(state.y_scroll, 400);
    range(MultiControl::None, MultiReason::Refresh);
    EXPECT_EQ(state.page.y_scroll_page, 499);

    state.page.upper_channel = "12x";
    range(MultiControl::UpperChannel);
    EXPECT_EQ(ui.texts().back(), "Data syntax error reading: \"12x\"");
    EXPECT_EQ(state.page.upper_channel, "1000");

    range(MultiControl::XZoom, MultiReason::Other);
    EXPECT_EQ(ui.texts().back(), RANGES_PROBLEM);
    range(MultiControl::YScroll, MultiReason::Click);
    EXPECT_EQ(ui.texts().back(), NOT_YET_PROGRAMMED);
}

TEST_F(Multispectrum, DrawsFrameAxesLegendAndMarkers) {
    EXPECT_EQ(find_text(paint(), NO_GRAPHICS_DATA)->numbers,
              (std::vector<int>{512 - 81, 384 - 15, 0}));
    EXPECT_EQ(state.page.x_zoom, 0);

    find(2, 11, [](int k, int i) { return k == 1 ? 100 * i : 50; });
    const fakes::RecordingCanvas canvas = paint();
    const Call* title = find_text(canvas, "Spectra from: " + state.file_name);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->numbers[1], 10);
    const auto rect = std::find_if(canvas.calls.begin(), canvas.calls.end(),
                                   [](const Call& c) { return c.op == "rect"; });
    EXPECT_EQ(rect->numbers, (std::vector<int>{60, 30, 1015, 729}));
    EXPECT_EQ(find_text(canvas, "1")->numbers[0], 60 - 3);
    EXPECT_EQ(find_text(canvas, "Channel no.")->numbers[1], 748);
    const Call* caption = find_text(canvas, "Counts");
    EXPECT_EQ(caption->numbers, (std::vector<int>{12, 379 + 18, 900}));

    // The legend stands left of R by the longest title and 20 units.
    const int legend = 1014 - 6 * 21 - 20;
    EXPECT_EQ(state.legend_left, legend);
    EXPECT_EQ(find_text(canvas, "Selected spectra")->numbers[0], legend);
    EXPECT_EQ(find_text(canvas, "Spectrum 2 of the run")->numbers[1], 30 + 30 + 40 - 7);
    EXPECT_EQ(state.legend_bottom, 30 + 30 + 40 + 40);

    // Eleven channels, a marker each, over the legend markers; black triangles, then red squares.
    const auto markers = data_polylines(canvas);
    ASSERT_EQ(markers.size(), 2u + 2u * 11u);
    EXPECT_EQ(markers[1].first, 0x000000);
    EXPECT_EQ(markers[1].second.numbers[0], 60);  // channel 1 at L, its top point
    const LinearAxis axis = linear_axis(1100.0, 1.0, 0, FRAME, 1);
    EXPECT_EQ(markers[11].second.numbers[1], linear_y(axis, FRAME, 1100.0) - 3);
    EXPECT_EQ(markers[13].first, 0xD20000);
    EXPECT_EQ(markers[13].second.numbers.size(), 10u);
    EXPECT_EQ(state.peak_channel, 11.0);
    EXPECT_EQ(state.log_top, 1210.0);
    EXPECT_TRUE(state.layout.drawn);
}

TEST_F(Multispectrum, EmptyDataAndZeroCountsDrawNothingWrong) {
    // Zeros in the logarithmic mode: below the axis, never a logarithm of zero.
    find(1, 10, [](int, int i) { return i % 2 == 0 ? 0 : 1000; });
    state.page.log = true;
    const fakes::RecordingCanvas log = paint();
    EXPECT_EQ(data_polylines(log).size(), 1u + 5u);
    EXPECT_DOUBLE_EQ(state.log_top, 3.3);
    EXPECT_NE(find_text(log, "10"), nullptr);

    // All zeros, one channel, and a window of no channels.
    find(1, 1, [](int, int) { return 0; });
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::SelectAll);  // count maximum from 0
    for (const bool scale : {false, true}) {
        state.page.log = scale;
        for (const char* upper : {"1", "0"}) {
            state.page.upper_channel = upper;
            const fakes::RecordingCanvas canvas = paint();
            for (const Call& c : canvas.calls) {
                for (const int v : c.numbers) {
                    EXPECT_LT(std::abs(v), 100000) << c.op;
                }
            }
        }
    }

    // A plot area smaller than the frame's margins draws no data.
    find(2, 500, [](int k, int i) { return k * i; });
    const fakes::RecordingCanvas tiny = paint(40, 30);
    EXPECT_EQ(data_polylines(tiny).size(), 2u);  // the legend markers only
}

TEST_F(Multispectrum, DenseChannelsBecomeStrokesInsideTheFrame) {
    find(1, 20000, [](int, int i) { return 1000 + (i * 37) % 500; });
    const fakes::RecordingCanvas canvas = paint();
    EXPECT_EQ(data_polylines(canvas).size(), 1u);  // the legend marker only
    int strokes = 0;
    bool clipped = false;
    for (const Call& c : canvas.calls) {
        clipped = c.op == "clip" ? !c.numbers.empty() : clipped;
        if (clipped && c.op == "line" && c.numbers[0] == c.numbers[2]) {
            ++strokes;
            EXPECT_TRUE(c.numbers[0] >= 60 && c.numbers[0] < 1014 && c.numbers[1] >= 30 &&
                        c.numbers[3] < 728);
        }
    }
    EXPECT_GT(strokes, 900);
}

// Every channel's marker stands where its count puts it, the logarithm taken
// by the C library: outlines where the channels lie apart, the markers' pixels
// each drawn once where they overlap; on a linear axis too.
TEST_F(Multispectrum, MarkersStandWhereTheirCountsPutThem) {
    // A decay over a background with counting noise, above 65536 at the top;
    // fractional, zero and negative counts put in afterwards.
    const auto counts = [](int channels) {
        return [channels](int k, int i) {
            const double mean =
                30.0 + 1.5e5 * std::exp(-std::abs(i - channels / (3 + k)) * 12.0 / channels);
            const double noise =
                static_cast<double>((i * 2654435761U + k * 40503U) % 1000U) / 1000.0 - 0.5;
            return std::max(0.0, std::round(mean + 6.0 * std::sqrt(mean) * noise));
        };
    };
    for (const int channels : {300, 20000}) {
        for (const bool log : {true, false}) {
            find(2, channels, counts(channels));
            for (int i = 7; i < channels; i += 31) {
                state.store.FILE_SPECTRA[1][static_cast<std::size_t>(i)] =
                    std::array{0.0, 0.05, 0.5, 2.5, -4.0}[i % 5];
            }
            state.page.log = log;
            const fakes::RecordingCanvas canvas = paint();

            const double px = channel_axis(state.lo, state.hi, FRAME, 1).pixels_per_channel;
            const LogAxis log_scale = log_axis(state.log_top, FRAME, 1);
            const LinearAxis linear_scale = linear_axis(state.count_maximum, 1.0, 0, FRAME, 1);
            const auto row = [&](double count) {
                if (!log) {
                    return linear_y(linear_scale, FRAME, count);
                }
                const double decades = std::log10(count <= 0.0 ? 0.5 : std::max(count, 0.1));
                return to_device(FRAME.bottom + (decades - LOG_AXIS_BOTTOM) * log_scale.per_decade);
            };
            // The drawing of each spectrum: its outlines, or the pixels of its strokes.
            std::vector<std::vector<std::vector<int>>> outlines(2);
            std::vector<std::vector<Stroke>> strokes(2);
            int spectrum = -1;
            bool in_frame = false;
            for (const Call& c : canvas.calls) {
                in_frame =
                    c.op == "clip" ? c.numbers == std::vector<int>{60, 30, 1014, 728} : in_frame;
                spectrum += c.op == "pen" && in_frame ? 1 : 0;
                if (in_frame && spectrum >= 0 && c.op == "polyline") {
                    outlines[static_cast<std::size_t>(spectrum)].push_back(c.numbers);
                } else if (in_frame && spectrum >= 0 && c.op == "line") {
                    ASSERT_EQ(c.numbers[0], c.numbers[2]);
                    strokes[static_cast<std::size_t>(spectrum)].push_back(
                        {c.numbers[0], c.numbers[1], c.numbers[3]});
                }
            }
            ASSERT_EQ(spectrum, 1);
            for (std::size_t k = 0; k < 2; ++k) {
                const std::vector<double>& values = state.store.FILE_SPECTRA[k];
                const int shape = static_cast<int>(k) + 1;
                const std::string where =
                    "spectrum " + std::to_string(shape) + (log ? ", log" : ", linear");
                if (channels == 300) {
                    // One outline a channel, after the legend's marker; none wholly
                    // outside the frame (4 units or more away).
                    std::vector<std::vector<int>> expected{outlines[k].front()};
                    for (int ch = 1; ch <= channels; ++ch) {
                        const int y = row(values[static_cast<std::size_t>(ch - 1)]);
                        if (y < FRAME.top - 4 || y > FRAME.bottom + 4) {
                            continue;
                        }
                        const MarkerOutline m =
                            marker_outline(shape, to_device(FRAME.left + (ch - 1) * px), y, 1);
                        expected.emplace_back();
                        for (int p = 0; p < m.count; ++p) {
                            expected.back().push_back(m.points[static_cast<std::size_t>(p)].x);
                            expected.back().push_back(m.points[static_cast<std::size_t>(p)].y);
                        }
                    }
                    EXPECT_GT(expected.size(), log ? 250u : 290u) << where;
                    EXPECT_EQ(outlines[k], expected) << where;
                    continue;
                }
                const std::vector<PixelRun> pixels = marker_pixels(shape, 1);
                std::map<int, std::set<int>> columns;
                for (int ch = 1; ch <= channels; ++ch) {
                    columns[to_device(FRAME.left + (ch - 1) * px)].insert(
                        row(values[static_cast<std::size_t>(ch - 1)]));
                }
                std::set<std::pair<int, int>> expected;
                for (const auto& [x, rows] : columns) {
                    expected.merge(
                        marker_pixel_set(pixels, x, rows, print::Rect{60, 30, 1014, 728}));
                }
                bool once = true;
                EXPECT_EQ(stroke_pixels(strokes[k], once), expected) << where;
                EXPECT_TRUE(once) << where;
            }
        }
    }
}

TEST_F(Multispectrum, SavesAndPrintsThroughTheirDialogs) {
    find(3, 50, [](int k, int i) { return k + i; });
    std::string written_path;
    std::string picture_title;
    MultiplotTargets targets;
    targets.write_picture = [&](const std::string& path, const std::function<void(Canvas&)>& draw,
                                std::string_view program, std::string_view title) {
        written_path = path;
        picture_title = std::string(program) + "/" + std::string(title);
        fakes::RecordingCanvas canvas(1024, 768, 40.96);
        draw(canvas);
        return find_text(canvas, "Channel no.") != nullptr ? common::SaveResult{}
                                                           : common::SaveResult{common::SaveProblem::Content, {}};
    };
    ui.choose("");
    EXPECT_FALSE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Save, print::PageSetup{}, targets));
    EXPECT_TRUE(written_path.empty());
    EXPECT_EQ(ui.file_requests.back().title, "Dorvakest EMF Imagefile");
    EXPECT_EQ(ui.file_requests.back().file_name, "run 1,2 and 3.emf");
    EXPECT_EQ(ui.file_requests.back().filters.front().pattern, "*.emf");
    ui.choose((dir_ / "plot.png").string());
    EXPECT_TRUE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Save, print::PageSetup{}, targets));
    EXPECT_EQ(written_path, (dir_ / "plot.png").string());
    EXPECT_EQ(picture_title, "Vorelix/run");
    ui.choose((dir_ / "plot").string());
    DRAW_MULTISPECTRA(state, ui, PlotTarget::Save, print::PageSetup{}, targets);
    EXPECT_EQ(written_path, (dir_ / "plot.emf").string());
    // A picture that cannot be written is warned of, with the reason.
    const PictureWriter save = targets.write_picture;
    targets.write_picture = [](const std::string&, const std::function<void(Canvas&)>&, std::string_view,
                               std::string_view) { return common::SaveResult{common::SaveProblem::ReadOnly, {}}; };
    ui.choose((dir_ / "locked.png").string());
    EXPECT_FALSE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Save, print::PageSetup{}, targets));
    EXPECT_EQ(ui.texts().back(), "Error creating the picture file " + (dir_ / "locked.png").string() +
                                     "\rThe file is read-only; the file was not changed");
    targets.write_picture = save;

    targets.choose_printer = [](std::string_view) { return nullptr; };
    EXPECT_FALSE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Print, print::PageSetup{}, targets));
    EXPECT_EQ(ui.texts().back(), "Nothing printed");

    fakes::PrintRecording recording;
    targets.choose_printer = [&](std::string_view) {
        return std::make_unique<fakes::RecordingPrintDevice>(recording, 600, 4800, 6800);
    };
    EXPECT_TRUE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Print, print::PageSetup{}, targets));
    EXPECT_EQ(recording.title, "run.dat");
    EXPECT_TRUE(recording.document_ended);
    ASSERT_EQ(recording.pages.size(), 1u);
    // 2 cm margins at 600 dpi: x0 472, x1 trunc(4800 - 472.4) = 4327, y1 = 472 + 3 * 3855 / 4;
    // graph unit 6, so F·u = 60.
    ASSERT_FALSE(recording.pages[0].rectangles.empty());
    const print::Rect frame = recording.pages[0].rectangles[0];
    EXPECT_EQ(frame.left, 472 + 6 * 60);
    EXPECT_EQ(frame.right, 4327 - 10 * 6 + 1);
    EXPECT_EQ(frame.top, 472 + 3 * 60);
    EXPECT_EQ(frame.bottom, 472 + 2891 - 4 * 60 + 1);
}

TEST_F(Multispectrum, BlankChannelEditsAreNoError) {
    // The first visit with no file: the edits are still blank.
    state.page.lower_channel.clear();
    state.page.upper_channel = " ";
    enter_multispectrum_page(state, ui, "");
    range(MultiControl::None, MultiReason::Refresh);
    range(MultiControl::Whole, MultiReason::Click);
    EXPECT_TRUE(ui.texts().empty());
    EXPECT_EQ(state.page.lower_channel, "1");
    // Text that is no number still is an error.
    state.page.upper_channel = "12x";
    range(MultiControl::None, MultiReason::Refresh);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Data syntax error reading: \"12x\""});
}

TEST_F(Multispectrum, ThePageShowsTheActiveProgramsFile) {
    const std::string adder_file = write(native_text(2, 20, [](int k, int i) { return k * i; }), "adder.dat");
    const fs::path chn = dir_ / "Cs137SMALL.Chn";
    support::copy_writable(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.Chn", chn);

    enter_multispectrum_page(state, ui, adder_file);
    EXPECT_EQ(state.file_name, adder_file);
    EXPECT_EQ(state.page.out_of, 2);
    // The converter becomes active with a Maestro file: the page shows that file.
    enter_multispectrum_page(state, ui, chn.string());
    EXPECT_EQ(state.file_name, chn.string());
    EXPECT_EQ(state.page.out_of, 1);
    EXPECT_EQ(channel_count(state), 4096);
    EXPECT_NE(find_text(paint(), "Spectra from: " + chn.string()), nullptr);

    // A file found on the page stays while the program's file stays the same.
    ui.choose(adder_file);
    SETUPVORELBOXMULTISPECTRUM(state, ui, MultiCommand::FindSpectra);
    enter_multispectrum_page(state, ui, chn.string());
    EXPECT_EQ(state.file_name, adder_file);
    // A program without a file: no file on the page either.
    enter_multispectrum_page(state, ui, "");
    EXPECT_TRUE(state.file_name.empty());
    EXPECT_EQ(state.page.out_of, 0);
    EXPECT_NE(find_text(paint(), NO_GRAPHICS_DATA), nullptr);
    enter_multispectrum_page(state, ui, adder_file);
    EXPECT_EQ(state.page.out_of, 2);
    EXPECT_TRUE(ui.texts().empty());
}

TEST(MultispectrumGeometry, LegendKeepsItsShareOfTheFrame) {
    const MultiFrame screen{60, 1590, 30, 500};
    const MultiFrame picture{60, 1014, 30, 728};
    EXPECT_EQ(legend_left_on(picture, 126, 1, 0, nullptr), 1014 - 126 - 20);
    EXPECT_EQ(legend_left_on(screen, 126, 1, 1203, &screen), 1203);  // where it was put
    // Half way across the screen: half way across the picture.
    EXPECT_EQ(legend_left_on(picture, 126, 1, 60 + 765, &screen), 60 + 477);
    // Near the right edge of a wide screen: as far right as the titles fit.
    EXPECT_EQ(legend_left_on(picture, 126, 1, 1444, &screen), 1014 - 126 - 20);
    // Titles wider than the frame: the legend stays inside its left edge.
    EXPECT_EQ(legend_left_on({832, 4267, 652, 3000}, 4000, 6, 61, &screen), 832 + 6 * 20);
}

// The legend placed on the screen stands at the same share of the frame in a
// picture and on paper, with its titles inside the frame; saving and printing
// leave the screen's legend and layout as they were.
TEST_F(Multispectrum, LegendKeepsItsPlaceRelativeToTheFrameOnEveryTarget) {
    find(2, 50, [](int k, int i) { return k * i; });
    const auto heading_x = [](const fakes::RecordingCanvas& canvas) {
        return find_text(canvas, "Selected spectra")->numbers[0];
    };
    for (const int placed : {0, 800}) {
        state.legend_left = placed;
        paint(1600, 600);  // a wide window: R = 1590
        const int on_screen = state.legend_left;
        const MultiplotLayout layout = state.layout;
        EXPECT_EQ(on_screen, placed == 0 ? 1590 - 6 * 21 - 20 : 800);

        MultiplotTargets targets;
        int in_picture = 0;
        targets.write_picture = [&](const std::string&, const std::function<void(Canvas&)>& draw,
                                    std::string_view, std::string_view) {
            fakes::RecordingCanvas canvas(1024, 768, 40.96);
            draw(canvas);
            in_picture = heading_x(canvas);
            return common::SaveResult{};
        };
        ui.choose((dir_ / "plot.emf").string());
        ASSERT_TRUE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Save, print::PageSetup{}, targets));
        const long long share = static_cast<long long>(on_screen - 60) * (1014 - 60) / (1590 - 60);
        EXPECT_EQ(in_picture, std::min<int>(60 + static_cast<int>(share), 1014 - 6 * 21 - 20)) << placed;

        fakes::PrintRecording recording;
        targets.choose_printer = [&](std::string_view) {
            return std::make_unique<fakes::RecordingPrintDevice>(recording, 600, 4800, 6800);
        };
        ASSERT_TRUE(DRAW_MULTISPECTRA(state, ui, PlotTarget::Print, print::PageSetup{}, targets));
        // The paper frame: L 832, R 4267 (see SavesAndPrintsThroughTheirDialogs).
        int on_paper = 0;
        int title_end = 0;
        for (const fakes::RecordedText& t : recording.pages.at(0).texts) {
            if (t.text == "Selected spectra") {
                on_paper = t.x;
            } else if (t.text == "Spectrum 1 of the run") {
                title_end = t.x + static_cast<int>(t.text.size()) * (t.font.char_height / 2);
            }
        }
        const long long paper_share = static_cast<long long>(on_screen - 60) * (4267 - 832) / (1590 - 60);
        const int widest = title_end - (on_paper + 60);  // the title stands F·u = 60 right of the legend
        EXPECT_EQ(on_paper, std::min(832 + static_cast<int>(paper_share), 4267 - widest - 6 * 20)) << placed;
        EXPECT_GE(on_paper, 832 + 120);
        EXPECT_LE(title_end, 4267);
        EXPECT_EQ(state.legend_left, on_screen);
        EXPECT_EQ(state.layout.frame.right, layout.frame.right);
    }
}

}  // namespace
