// The single spectrum plot on a recording canvas of 1024 x 768: window, value
// range, count axes, dots, peak line and trimming brackets.

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "draw_spectrum.h"
#include "fakes/recording_canvas.h"

namespace {

using namespace vorelbox;
using namespace vorelbox::display;
using Call = fakes::RecordingCanvas::Call;

constexpr PlotBox BOX{1, 1, 1024, 767};

// The calls of one kind made while the pen had a colour.
std::vector<Call> drawn(const fakes::RecordingCanvas& canvas, const std::string& op, std::uint32_t rgb) {
    std::vector<Call> out;
    std::uint32_t pen = 0;
    for (const Call& c : canvas.calls) {
        pen = c.op == "pen" ? static_cast<std::uint32_t>(c.numbers[1]) : pen;
        if (c.op == op && pen == rgb) {
            out.push_back(c);
        }
    }
    return out;
}

SpectrumPlotResult draw(fakes::RecordingCanvas& canvas, const std::vector<double>& counts, SpectrumPlotPage page,
                        bool file_exists = true) {
    spectra::SpectrumStore store;
    store.CURRENT_SPECTRUM = counts;
    store.CHANNEL_COUNT = static_cast<int>(counts.size());
    page.file_exists = file_exists;
    return DRAW_SPECTRUM(canvas, store, page, print::PageSetup{});
}

TEST(CountAxis, LogLabelsRunTo100TAndLinearStepsByThePowerOfTenBelowTheTop) {
    const auto ticks = count_axis_ticks(19.0, true);  // beyond 100T the axis stops
    ASSERT_EQ(ticks.size(), 15U);
    EXPECT_EQ(ticks[3].label, "1K");
    EXPECT_EQ(ticks[8].label, "100M");
    EXPECT_EQ(ticks[14].label, "100T");
    EXPECT_EQ(count_axis_ticks(150, false).back().value, 200);  // 100, 200
    const auto below_100 = count_axis_ticks(99, false);         // 10 .. 100
    EXPECT_EQ(below_100.size(), 10U);
    EXPECT_EQ(below_100.back().label, "100");
    EXPECT_EQ(count_axis_ticks(1000, false).front().value, 1000);
    EXPECT_TRUE(count_axis_ticks(0, false).empty());
}

TEST(SpectrumWindow, ZoomPositionsAndTheCorrectionAtTheEnd) {
    EXPECT_EQ(spectrum_window(1000, 0, 1).page, 1000);
    EXPECT_EQ(spectrum_window(1000, 12, 1).range.last, 26);  // one fortieth from 1
    // Scrolled to Nc - 1 at zoom 1, the window starts at 1 again.
    fakes::RecordingCanvas canvas;
    SpectrumPlotPage page;
    page.scroll_position = 99;
    std::vector<double> counts(100, 5.0);
    counts[50] = 80.0;
    const SpectrumPlotResult result = draw(canvas, counts, page);
    EXPECT_EQ(result.first_label, 1);
    EXPECT_EQ(result.last_label, 100);
    EXPECT_EQ(corrected_window({990, 1000}, 1000, 25).first, 975);  // zoomed: keeps its width
}

TEST(DrawSpectrum, FirstAndLastChannelNeitherScaleNorPeak) {
    fakes::RecordingCanvas canvas;
    const SpectrumPlotResult result = draw(canvas, {1e6, 5, 50, 20, 1e6}, {});
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"10", "20", "30", "40", "50"}));  // 60 lies above
    EXPECT_EQ(result.peak_channel, 2);  // channel 3, shown one lower
    const auto blue = drawn(canvas, "line", BLUE);
    const int x = PlotScale(BOX, {1, 5}, {5, 50}, 1).x(3);
    ASSERT_EQ(blue.size(), 1U);
    EXPECT_EQ(blue[0].numbers, (std::vector<int>{x, BOX.bottom, x, BOX.top - 4}));
    const auto dots = drawn(canvas, "line", BLACK);  // five axis ticks, then channel 1 at the top
    ASSERT_GT(dots.size(), 5U);
    EXPECT_EQ(dots[5].numbers, (std::vector<int>{BOX.left, BOX.top, BOX.left, BOX.top + 2}));
}

// A spectrum whose maximum is at channel 101 (one-based): whatever the zoom and
// scale, the blue line stands on the one highest dot, that of channel 101, which
// is drawn over the line so that it shows; "Peak channel" shows 100.
TEST(DrawSpectrum, PeakLineStandsOnTheHighestDotAtAKnownChannel) {
    std::vector<double> counts(200);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        counts[i] = 10.0 + static_cast<double>(i % 7);
    }
    counts[99] = 500;   // channel 100
    counts[100] = 1000;  // channel 101
    counts[101] = 300;  // channel 102
    for (const bool log : {false, true}) {
        for (const int zoom : {0, 9}) {
            SpectrumPlotPage page;
            page.log_scale = log;
            page.zoom_index = zoom;
            page.scroll_position = 95;
            fakes::RecordingCanvas canvas;
            const SpectrumPlotResult result = draw(canvas, counts, page);
            EXPECT_EQ(result.peak_channel, 100);
            std::optional<std::size_t> line;
            std::vector<std::size_t> highest;  // the calls of the highest dots
            int top = BOX.bottom + 1;
            for (std::size_t i = 0; i < canvas.calls.size(); ++i) {
                const Call& c = canvas.calls[i];
                if (c.op == "pen" && c.numbers[1] == static_cast<int>(BLUE)) {
                    line = i + 1;
                }
                const bool dot = c.op == "line" && c.numbers[0] == c.numbers[2] && c.numbers[3] == c.numbers[1] + 2;
                if (dot && c.numbers[1] < top) {
                    top = c.numbers[1];
                    highest = {i};
                } else if (dot && c.numbers[1] == top) {
                    highest.push_back(i);
                }
            }
            ASSERT_TRUE(line);
            ASSERT_EQ(highest.size(), 1U) << "log " << log << " zoom " << zoom;
            const Call& peak_dot = canvas.calls[highest.front()];
            const Call& peak_line = canvas.calls[*line];
            EXPECT_EQ(peak_dot.numbers[0], peak_line.numbers[0]);
            const ChannelRange window{result.first_label, result.last_label};
            const ValueRange range = spectrum_value_range(counts, log);
            EXPECT_EQ(peak_dot.numbers[0], PlotScale(BOX, window, range, 1).x(101));
            EXPECT_GT(highest.front(), *line);  // drawn over the line
        }
    }
}

TEST(DrawSpectrum, TrimBracketsOnlyInsideTheBox) {
    std::vector<double> counts(100);
    std::iota(counts.begin(), counts.end(), 0.0);
    SpectrumPlotPage page;
    page.converter = page.trim = true;
    page.trim_first = 10;
    page.trim_channels = 20;  // 10..29
    const auto brackets = [&] {
        fakes::RecordingCanvas canvas;
        draw(canvas, counts, page);
        std::vector<int> sides;  // +1 opens to the right, -1 to the left
        for (const Call& c : drawn(canvas, "polyline", RED)) {
            sides.push_back(c.numbers[0] - c.numbers[2] > 0 ? 1 : -1);
        }
        return sides;
    };
    EXPECT_EQ(brackets(), (std::vector<int>{1, -1}));
    page.zoom_index = 5;  // channels 20..45: the first bracket lies left of the box
    page.scroll_position = 20;
    EXPECT_EQ(brackets(), std::vector<int>{-1});
    page.trim_first = 1;  // the whole spectrum
    page.trim_channels = 100;
    EXPECT_TRUE(brackets().empty());
}

TEST(DrawSpectrum, ZerosInLogModeSitAtTheBottom) {
    EXPECT_DOUBLE_EQ(shown_value(-7.0, true), std::log10(0.5));
    fakes::RecordingCanvas canvas;
    SpectrumPlotPage page;
    page.log_scale = true;
    draw(canvas, {0, 0, 1000, 0, 10, 0}, page);
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"1", "10", "100", "1K"}));
    const auto dots = drawn(canvas, "line", BLACK);
    ASSERT_EQ(dots.size(), 4U + 6U);  // the four axis ticks, then the six channels
    for (std::size_t i : {4U, 5U, 7U, 9U}) {
        EXPECT_EQ(dots[i].numbers[1], BOX.bottom);
    }
}

TEST(DrawSpectrum, LogAxisReachesThePowerOfTenAtOrAboveThePeak) {
    EXPECT_EQ(log_axis_top(23000), 5);
    EXPECT_EQ(log_axis_top(10001), 5);
    EXPECT_EQ(log_axis_top(9999), 4);
    EXPECT_EQ(log_axis_top(1), 0);
    EXPECT_EQ(log_axis_top(0), 0);
    for (int e = 0; e <= 15; ++e) {
        EXPECT_EQ(log_axis_top(std::pow(10.0, e)), e) << "10^" << e;
    }
    // A peak of 23,000 lies below the top edge, above the 10,000 of its neighbour.
    fakes::RecordingCanvas canvas;
    SpectrumPlotPage page;
    page.log_scale = true;
    draw(canvas, {0, 5, 100, 10000, 23000, 50, 0}, page);
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"1", "10", "100", "1K", "10K", "100K"}));
    const auto dots = drawn(canvas, "line", BLACK);
    ASSERT_EQ(dots.size(), 6U + 7U);
    const PlotScale scale(BOX, {1, 7}, {0, 5}, 1);
    EXPECT_EQ(dots[6 + 4].numbers[1], scale.y(std::log10(23000.0)));
    EXPECT_GT(dots[6 + 4].numbers[1], BOX.top);
    EXPECT_LT(dots[6 + 4].numbers[1], dots[6 + 3].numbers[1]);
}

TEST(DrawSpectrum, EmptyDataDrawsTheNoDataTextOrAWhiteFrame) {
    fakes::RecordingCanvas missing;
    EXPECT_EQ(draw(missing, {1, 5, 3}, {}, false).last_label, 0);
    EXPECT_EQ(missing.texts(), std::vector<std::string>{NO_SPECTRUM_DATA});
    for (const bool log : {false, true}) {
        SpectrumPlotPage page;
        page.log_scale = log;
        for (const auto& counts : std::vector<std::vector<double>>{{}, {7}, {0, 9}, std::vector<double>(50, 0.0)}) {
            fakes::RecordingCanvas canvas;
            const SpectrumPlotResult result = draw(canvas, counts, page);
            EXPECT_TRUE(canvas.texts().empty());
            EXPECT_TRUE(drawn(canvas, "line", BLACK).empty());
            EXPECT_FALSE(result.peak_channel);
        }
    }
}

}  // namespace

TEST(DrawSpectrum, OnlyValuesInsideThePlotAreLabelled) {
    // Counts from 15000 to 26162: the linear steps 10000, 20000 and 30000 of the
    // axis, but only 20000 lies inside the plot. 30000 is not shown at the top.
    fakes::RecordingCanvas canvas;
    draw(canvas, {0, 15000, 26162, 17000, 0}, {});
    EXPECT_EQ(canvas.texts(), std::vector<std::string>{"20000"});
}

TEST(DrawSpectrum, CountLabelsStayInsideThePlot) {
    // A largest count of exactly 20000 puts the top tick on the frame; its label
    // stands below the frame's top edge instead of half above it.
    fakes::RecordingCanvas canvas;
    draw(canvas, {0, 5, 20000, 7, 0}, {});
    bool top_label = false;
    for (const Call& c : canvas.calls) {
        if (c.op == "text") {
            EXPECT_GE(c.numbers[1], BOX.top) << c.text;
            top_label = top_label || c.text == "20000";
        }
    }
    EXPECT_TRUE(top_label);
}
