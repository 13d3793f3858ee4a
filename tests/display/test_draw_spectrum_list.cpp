// The spectrum list plot on a recording canvas of 1024 x 768 (graph unit 1, text
// 6 units a character and 10 high).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "draw_spectrum_list.h"
#include "fakes/recording_canvas.h"

namespace {

using namespace vorelbox;
using namespace vorelbox::display;
using Call = fakes::RecordingCanvas::Call;
using Rows = std::vector<std::vector<double>>;

adder::SpectrumList list_of(const Rows& rows) {
    adder::SpectrumList list;
    list.channels = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    for (const auto& counts : rows) {
        list.rows.push_back({"", 1, "", counts, 0.0});
    }
    return list;
}

SpectrumListPlotResult draw(fakes::RecordingCanvas& canvas, const adder::SpectrumList& list,
                            const SpectrumListPlotPage& page = {}) {
    return DRAW_SPECTRUM_LIST(canvas, PlotTarget::Show, list, page, print::PageSetup{});
}

// Data dots (vertical strokes of 2) and joined segments, each with the pen it
// was drawn with; `first_only` keeps the first dot after each change of pen.
std::vector<std::pair<print::Pen, Call>> data_calls(const fakes::RecordingCanvas& canvas, bool first_only) {
    std::vector<std::pair<print::Pen, Call>> out;
    print::Pen pen;
    bool fresh = false;
    for (const Call& c : canvas.calls) {
        const bool dot = c.op == "line" && c.numbers[0] == c.numbers[2] && c.numbers[3] == c.numbers[1] + 2;
        if (c.op == "pen") {
            pen = {c.numbers[0], static_cast<std::uint32_t>(c.numbers[1])};
            fresh = true;
        } else if ((dot && (fresh || !first_only)) || c.op == "lineto") {
            out.emplace_back(pen, c);
            fresh = false;
        }
    }
    return out;
}

std::pair<int, int> text_at(const fakes::RecordingCanvas& canvas, const std::string& text) {
    const auto it = std::find_if(canvas.calls.begin(), canvas.calls.end(),
                                 [&](const Call& c) { return c.op == "text" && c.text == text; });
    return it == canvas.calls.end() ? std::pair{-1, -1} : std::pair{it->numbers[0], it->numbers[1]};
}

TEST(DrawSpectrumList, NoRowsShowTheNoListTextAndFlatRowsAWhiteFrame) {
    fakes::RecordingCanvas canvas;
    EXPECT_FALSE(draw(canvas, {}).window);
    EXPECT_EQ(canvas.texts(), std::vector<std::string>{NO_SPECTRUM_LIST});
    for (const bool log : {false, true}) {
        fakes::RecordingCanvas flat;
        draw(flat, list_of({{0, 0, 0}, {0, 0, 0}}), {log});
        EXPECT_TRUE(flat.texts().empty());
        EXPECT_TRUE(data_calls(flat, false).empty());
    }
}

TEST(DrawSpectrumList, RowColoursRepeatFromRowNineAndRowsShiftSideways) {
    Rows rows;
    for (int i = 1; i <= 9; ++i) {
        rows.push_back({1.0 * i, 10.0 * i, 5, 1});
    }
    fakes::RecordingCanvas canvas;
    draw(canvas, list_of(rows));
    const std::vector<std::uint32_t> colours{0xFF0000, 0x008000, 0x0000FF, 0xFF00FF, 0x808000,
                                             0x000080, 0x8000FF, 0x808080, 0xFF0000};
    const std::vector<int> shifts{0, 1, -1, 2, -2, 3, -3, 4, -4};
    const auto firsts = data_calls(canvas, true);
    ASSERT_EQ(firsts.size(), 9U);
    for (std::size_t i = 0; i < firsts.size(); ++i) {
        EXPECT_EQ(firsts[i].first.rgb, colours[i]) << "row " << i + 1;
        EXPECT_EQ(firsts[i].second.numbers[0] - firsts[0].second.numbers[0], shifts[i]) << "row " << i + 1;
    }
    EXPECT_EQ(row_side_shift(4, 2.0, 1), 0);  // at two units per channel or fewer no row moves
    EXPECT_EQ(row_side_shift(4, 10.5, 5), 2 * 5);
}

TEST(DrawSpectrumList, LegendGrowsAColumnForEverySixEntries) {
    const auto legend = [](int rows, bool sum) {
        fakes::RecordingCanvas canvas;
        SpectrumListPlotPage page;
        page.show_sum = sum;
        draw(canvas, list_of(Rows(static_cast<std::size_t>(rows), {1, 50, 20, 3})), page);
        return canvas;
    };
    const auto seven = legend(7, false);
    const auto a = text_at(seven, "A");
    EXPECT_EQ(text_at(seven, "F").second, a.second + 5 * (10 - 2));
    EXPECT_EQ(text_at(seven, "G"), std::pair(a.first + 60, a.second));
    EXPECT_EQ(text_at(legend(6, false), "A").first, a.first + 60);  // one column
    const auto six_and_sum = legend(6, true);
    EXPECT_EQ(text_at(six_and_sum, "A"), a);
    EXPECT_EQ(text_at(six_and_sum, SUM_LEGEND).second, a.second);
}

TEST(DrawSpectrumList, EnhancedRowIsOnlyALineAndTheSumTakesAllRows) {
    adder::SpectrumList list = list_of({{10, 20, 30, 40}, {100, 200, 300, 400}, {1, 2, 3, 4}});
    list.selected_row = 2;
    SpectrumListPlotPage page;
    page.enhance_selected = page.show_sum = true;
    fakes::RecordingCanvas canvas;
    const SpectrumListPlotResult result = draw(canvas, list, page);
    EXPECT_EQ(result.count_maximum, 444);
    EXPECT_EQ(result.count_minimum, 1);
    const auto calls = data_calls(canvas, false);
    ASSERT_EQ(calls.size(), 4U + 4U + 3U + 3U);  // dots of rows 1 and 3, then the joined lines
    EXPECT_EQ(calls[4].first.rgb, 0x0000FFU);
    EXPECT_EQ(calls[8].first.rgb, 0x008000U);
    EXPECT_EQ(calls[8].first.width, 2);
    EXPECT_EQ(calls[13].first.rgb, SUM_COLOUR);
    const PlotScale scale(plot_box(0, 0, 1024, 768, 1), {1, 4}, {1, 488}, 1);  // top trunc(1.1 * 444)
    EXPECT_EQ(calls[13].second.numbers[3], scale.y(444));
}

TEST(DrawSpectrumList, LogAxisReachesThePowerOfTenAtOrAboveTheLargestCount) {
    SpectrumListPlotPage page;
    page.log_scale = true;
    fakes::RecordingCanvas canvas;
    draw(canvas, list_of({{1, 10000, 23000, 5}, {2, 40, 600, 3}}), page);
    const auto texts = canvas.texts();
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 6),
              (std::vector<std::string>{"1", "10", "100", "1K", "10K", "100K"}));
    const PlotBox box = plot_box(0, 0, 1024, 768, 1);
    const PlotScale scale(box, {1, 4}, {0, 5}, 1);
    const auto dots = data_calls(canvas, false);
    ASSERT_EQ(dots.size(), 8U);
    EXPECT_EQ(dots[2].second.numbers[1], scale.y(std::log10(23000.0)));
    EXPECT_GT(dots[2].second.numbers[1], box.top);  // inside the plot, not cut at its top
}

// Every length of the printed plot is its length on the screen times the graph
// unit: a page of 5120 units at 200 units per cm (u = 5) whose texts are five
// times those of the screen gives the screen plot five times over, within the
// truncation of each coordinate.
TEST(DrawSpectrumList, PrintedPlotIsTheScreenPlotScaledByTheGraphUnit) {
    Rows rows;
    for (int i = 1; i <= 7; ++i) {
        std::vector<double> counts;
        for (int ch = 1; ch <= 40; ++ch) {
            counts.push_back(100.0 * i + 37.0 * ((ch * i) % 11));
        }
        rows.push_back(counts);
    }
    adder::SpectrumList list = list_of(rows);
    list.selected_row = 3;
    SpectrumListPlotPage page;
    page.show_sum = page.enhance_selected = true;
    print::PageSetup setup;
    setup.margins = {0.0, 0.0, 0.0, 0.0};

    fakes::RecordingCanvas screen;
    DRAW_SPECTRUM_LIST(screen, PlotTarget::Show, list, page, setup);
    fakes::RecordingCanvas paper(5120, 7000, 200.0);
    paper.text_scale = 5;
    DRAW_SPECTRUM_LIST(paper, PlotTarget::Print, list, page, setup);

    ASSERT_EQ(paper.calls.size(), screen.calls.size());
    for (std::size_t i = 0; i < screen.calls.size(); ++i) {
        const Call& s = screen.calls[i];
        const Call& p = paper.calls[i];
        ASSERT_EQ(p.op, s.op) << "call " << i;
        if (s.op == "font") {
            continue;  // heights follow the resolution, not the unit
        }
        if (s.op == "pen") {
            EXPECT_EQ(p.numbers, (std::vector<int>{5 * s.numbers[0], s.numbers[1]})) << "call " << i;
            continue;
        }
        ASSERT_EQ(p.numbers.size(), s.numbers.size()) << "call " << i;
        for (std::size_t k = 0; k < s.numbers.size(); ++k) {
            if (s.op == "text" && k == 2) {
                continue;  // the escapement
            }
            EXPECT_NEAR(p.numbers[k], 5 * s.numbers[k], 5) << s.op << " call " << i << " number " << k;
        }
    }
}

TEST(DrawSpectrumList, WindowFramesAndPictureName) {
    const ListWindow unset = list_window(0, 0, 1000, 5);  // zoom factor 4
    EXPECT_EQ(unset.range.last, 250);
    EXPECT_EQ(unset.scroll_page, 250);
    EXPECT_EQ(list_window(900, 1200, 1000, 0).range.first, 700);
    EXPECT_EQ(list_window(0, 0, 0, 0).range.last, 0);

    const Frame paper = plot_frame(PlotTarget::Print, fakes::RecordingCanvas(2100, 2970, 100.0), {2.0, 1.0, 3.0, 2.0});
    EXPECT_EQ(std::vector<int>({paper.x0, paper.x1, paper.y0, paper.y1}), std::vector<int>({200, 2000, 300, 1650}));

    adder::AdderState adder{list_of({{1}, {2}, {3}}), {}, {}, {}};
    adder.page.input_file = "/data/run1/spec.dat";
    EXPECT_EQ(spectrum_list_picture_name(adder), "/data/run1/spec 1,2 and 3.emf");
    // The picture's description names the list without folder and extension; an
    // unsaved list, the input file.
    EXPECT_EQ(spectrum_list_picture_title(adder), "spec");
    adder.list.file_name = "C:\\lists\\May runs.vsl   ";
    EXPECT_EQ(spectrum_list_picture_title(adder), "May runs");
}

}  // namespace
