// The Text output page: its line index, what a scroll shows, the keys, copying
// and the search.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/scripted_ui.h"
#include "line_index.h"
#include "text_search.h"
#include "text_viewer.h"

namespace {

namespace fs = std::filesystem;
using namespace vorelbox::display;
using vorelbox::fakes::ScriptedUi;

std::vector<std::string> row_texts(const ViewText& view) {
    std::vector<std::string> out;
    for (const auto& row : view.rows) {
        out.push_back(row.text);
    }
    return out;
}

// "line 1" .. "line n", one a line.
std::string numbered_lines(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    return text;
}

class TextViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_text_viewer_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& text, const std::string& name = "report.txt") {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // Shows a file in a view of 1 + V + 1 lines (V = 8 at 10 points and 110 pixels).
    TextViewer shown(const std::string& text) {
        TextViewer viewer;
        viewer.client_height = 110;
        EXPECT_TRUE(SHOW_RESULT(ui, viewer, write(text), "Vorelix Analysis", "Report: x"));
        return viewer;
    }

    fs::path dir_;
    ScriptedUi ui;
};

TEST(LineIndex, CountsLinesAndReachesAnyLineAcrossCheckpoints) {
    std::istringstream text("\r\n" + numbered_lines(300) + "last line without end\r");
    const LineIndex index = build_line_index(text);
    EXPECT_EQ(index.records, 302);
    EXPECT_TRUE(index.blank_first);
    EXPECT_EQ(index.lines(), 301);
    EXPECT_EQ(index.longest, std::string("last line without end").size());

    LineReader reader(text, index);
    EXPECT_EQ(reader.next(100), "line 1");  // the blank first line is passed over
    for (const LineNumber n : {LineNumber{64}, LineNumber{65}, LineNumber{200}, LineNumber{129}}) {
        ASSERT_TRUE(reader.seek(n));
        EXPECT_EQ(reader.next(100), "line " + std::to_string(n));
    }
    ASSERT_TRUE(reader.seek(301));
    EXPECT_EQ(reader.next(4), "last");
    EXPECT_FALSE(reader.next(100).has_value());
    EXPECT_FALSE(reader.seek(302));
}

TEST(LineIndex, EmptyAndBlankOnlyFilesHaveNoShownLines) {
    std::istringstream empty("");
    EXPECT_EQ(build_line_index(empty).lines(), 0);
    std::istringstream blank("   \n");
    const LineIndex index = build_line_index(blank);
    EXPECT_EQ(index.records, 1);
    EXPECT_EQ(index.lines(), 0);
}

TEST_F(TextViewerTest, ShowsTheFirstLinesAndFollowsChangesOfTheFile) {
    TextViewer viewer = shown(numbered_lines(100));
    EXPECT_EQ(viewer.line_count, 100);
    EXPECT_EQ(viewer.kind, "Vorelix Analysis");
    EXPECT_EQ(viewer.caption, "Report: x");
    EXPECT_TRUE(fs::path(viewer.shown_file).is_absolute());
    ASSERT_EQ(viewer.view.rows.size(), 10u);  // lines 1 .. 1 + 8 + 1
    EXPECT_EQ(viewer.view.rows.front().text, "line 1");
    EXPECT_EQ(viewer.view.rows.back().text, "line 10");

    // Same size, new contents and time: the index is renewed, the scroll range is not.
    std::string changed = numbered_lines(100);
    changed.replace(0, 6, "LINE 1");
    const std::string path = write(changed);
    fs::last_write_time(path, viewer.index.stamp.modified + std::chrono::seconds(5));
    viewer.first_line = 1;
    ASSERT_TRUE(SCROLL_RESULT(ui, viewer));
    EXPECT_EQ(viewer.view.rows.front().text, "LINE 1");

    // Lines added at the end show at the next scroll, though the range stays.
    std::ofstream(path, std::ios::app) << "line 101\nline 102\n";
    viewer.first_line = 95;
    ASSERT_TRUE(SCROLL_RESULT(ui, viewer));
    EXPECT_EQ(viewer.view.rows.back().text, "line 102");
    EXPECT_EQ(viewer.index.lines(), 102);
    EXPECT_EQ(viewer.line_count, 100);
    EXPECT_TRUE(ui.texts().empty());

    fs::remove(path);
    EXPECT_FALSE(SCROLL_RESULT(ui, viewer));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to open: " + viewer.shown_file +
                                                   "\r- the file may be opened by another program"});
}

TEST_F(TextViewerTest, WarnsOfUnreadableFilesAndLongLines) {
    TextViewer viewer;
    EXPECT_FALSE(SHOW_RESULT(ui, viewer, (dir_ / "missing.txt").string(), "k", "c"));
    EXPECT_TRUE(viewer.shown_file.empty());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Error reading Report file"});

    // 300 characters: cut to 200 in the view, no warning.
    viewer = shown(std::string(300, 'x') + "\n");
    EXPECT_EQ(ui.texts().size(), 1u);
    EXPECT_EQ(viewer.view.rows.at(0).text, std::string(200, 'x'));
    shown(std::string(500, 'x') + "\r\n");  // the line end does not count
    EXPECT_EQ(ui.texts().size(), 1u);
    shown(std::string(501, 'x') + "\r\n");
    EXPECT_EQ(ui.texts().back(), "Long lines are truncated");
    EXPECT_EQ(ui.texts().size(), 2u);
}

TEST_F(TextViewerTest, RowsCarryNumbersRulesAndPlaceholders) {
    TextViewer viewer = shown("  \ncount   \n\fpage two  \nend\n");
    viewer.line_numbers = true;
    ASSERT_TRUE(SCROLL_RESULT(ui, viewer));
    // The blank first line is left out; trailing blanks go; a form feed becomes a rule.
    EXPECT_EQ(row_texts(viewer.view),
              (std::vector<std::string>{"1 count", "2 " + std::string(72, '_'), "page two", "3 end"}));
    EXPECT_EQ(viewer.view.text().substr(0, 9), "1 count\r\n");

    viewer = shown("");
    EXPECT_EQ(viewer.line_count, 1);
    EXPECT_EQ(row_texts(viewer.view), std::vector<std::string>{"The file is empty"});
}

TEST_F(TextViewerTest, ViewHeightFollowsFontAndIsCappedAt64000Characters) {
    EXPECT_EQ(visible_lines(110, 10), 8);
    EXPECT_EQ(visible_lines(110, 0), 8);
    EXPECT_EQ(visible_lines(400, 12), 24);
    EXPECT_EQ(report_font_points("12"), 12.0);
    EXPECT_EQ(report_font_points("0"), 10.0);
    EXPECT_EQ(report_font_points(" "), 10.0);

    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += std::string(150, 'a') + "\n";
    }
    TextViewer viewer = shown(text);
    viewer.client_height = 10000;
    viewer.font_points = 6;
    ASSERT_TRUE(SCROLL_RESULT(ui, viewer));
    // Rows of 152 characters with their line end are added while the text is below the cap.
    EXPECT_EQ(viewer.view.rows.size(), 422u);
    EXPECT_GE(viewer.view.text().size(), VIEW_TEXT_LIMIT);
}

TEST(ViewerKeys, StayWithinTheScrollRange) {
    TextViewer viewer;
    viewer.line_count = 100;
    viewer.first_line = 70;
    EXPECT_EQ(key_position(viewer, ViewerKey::PageDown), 80);  // never past range - 20
    EXPECT_EQ(key_position(viewer, ViewerKey::PageUp), 50);
    EXPECT_EQ(key_position(viewer, ViewerKey::Up), 69);
    EXPECT_EQ(key_position(viewer, ViewerKey::Down), 71);
    EXPECT_EQ(key_position(viewer, ViewerKey::Home), 1);
    EXPECT_EQ(key_position(viewer, ViewerKey::End), 80);
    EXPECT_EQ(wheel_position(viewer, 2), 64);
    viewer.first_line = 81;
    EXPECT_EQ(key_position(viewer, ViewerKey::Down), 81);  // the scroll bar's end
    EXPECT_EQ(key_position(viewer, ViewerKey::PageDown), 80);
    viewer.first_line = 5;
    EXPECT_EQ(key_position(viewer, ViewerKey::PageUp), 1);
    EXPECT_EQ(wheel_position(viewer, 2), 1);
    EXPECT_EQ(wheel_position(viewer, -1), 8);

    viewer.line_count = 15;  // shorter than a page
    viewer.first_line = 1;
    EXPECT_EQ(key_position(viewer, ViewerKey::End), 1);
    EXPECT_EQ(key_position(viewer, ViewerKey::PageDown), 1);
    EXPECT_EQ(key_position(viewer, ViewerKey::Down), 1);
}

TEST(ViewerCopy, SelectionIsOrderedAndClampedTo64000) {
    EXPECT_EQ(copy_range(10, 4, 100).start, 4u);
    EXPECT_EQ(copy_range(10, 4, 100).end, 10u);
    const CopyRange big = copy_range(63990, 70000, 80000);
    EXPECT_EQ(big.start, 63990u);
    EXPECT_EQ(big.end, 64000u);
    const CopyRange empty = copy_range(7, 7, 100);
    EXPECT_EQ(empty.end - empty.start, 0u);
}

TEST(Matching, PlainSearchByCaseAndDirection) {
    EXPECT_EQ(MATCHING("tau", "Tau1 and TAU2", {}), 1u);
    EXPECT_EQ(MATCHING("tau", "Tau1 and TAU2", {false, false, true}), 10u);
    EXPECT_EQ(MATCHING("tau", "Tau1 and TAU2", {false, true, false}), std::nullopt);
    EXPECT_EQ(MATCHING("TAU", "Tau1 and TAU2", {false, true, false}), 10u);
    EXPECT_EQ(MATCHING("long text", "long", {}), std::nullopt);
}

TEST(Matching, WholeWordsSeparateAtPunctuationOutsideBrackets) {
    const MatchOptions words{true, false, false};
    EXPECT_EQ(MATCHING("ab", "x ab_c", words), 3u);
    EXPECT_EQ(MATCHING("ab", "x abc ab", words), 7u);
    EXPECT_EQ(MATCHING("ab", "x [ab,c]", words), std::nullopt);
    EXPECT_EQ(MATCHING("ab", "x (ab,c)", words), 4u);
    EXPECT_EQ(MATCHING("[ab,c]", "x [ab,c] y", words), 3u);
    EXPECT_EQ(MATCHING("-", "5 - 3", words), 3u);
    EXPECT_EQ(MATCHING("-", "5-3", words), std::nullopt);  // kept, but not between blanks
    EXPECT_EQ(MATCHING("-", "a=b", words), std::nullopt);
    EXPECT_EQ(MATCHING("AB", "ab ab", {true, true, false}), std::nullopt);
    EXPECT_EQ(MATCHING("ab", "ab ab", {true, false, true}), 4u);
}

TEST_F(TextViewerTest, FindsForwardAndWrapsAroundSilently) {
    TextViewer viewer = shown("alpha\nbeta gamma beta\n" + numbered_lines(20) + "beta end\n");
    viewer.find.text = "beta  ";
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, false));
    EXPECT_EQ(viewer.hit.line, 2);
    EXPECT_EQ(viewer.hit.column, 1u);
    EXPECT_EQ(viewer.hit.length, 4u);
    EXPECT_EQ(viewer.first_line, 1);

    std::vector<std::pair<LineNumber, std::size_t>> hits;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, false));
        hits.emplace_back(viewer.hit.line, viewer.hit.column);
    }
    EXPECT_EQ(hits, (std::vector<std::pair<LineNumber, std::size_t>>{{2, 12}, {23, 1}, {2, 1}}));
    EXPECT_EQ(viewer.first_line, 1);

    // Scrolled to a hit: it is the view's third row and is highlighted after the "#" number.
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, false));
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, false));
    EXPECT_EQ(viewer.first_line, 21);
    viewer.line_numbers = true;
    ASSERT_TRUE(SCROLL_RESULT(ui, viewer));
    ASSERT_TRUE(viewer.view.highlight.has_value());
    EXPECT_EQ(viewer.view.highlight->row, 2u);
    EXPECT_EQ(viewer.view.highlight->start, 3u);  // after "23 "
    EXPECT_EQ(viewer.view.highlight->length, 4u);

    // From a caret, a hit that starts right at the caret counts.
    viewer = shown("xyxy\n");
    viewer.find.text = "xy";
    ASSERT_TRUE(FIND_NEXT(ui, viewer, ViewPosition{0, 2}, false));
    EXPECT_EQ(viewer.hit.column, 3u);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(TextViewerTest, FindsUpwardFromTheCaretAndFromTheEnd) {
    TextViewer viewer = shown("one x\nx two x three x\nfour\n");
    viewer.find.text = "x";
    // Caret after "x two x three " (offset 14) in the second row: the later of the two hits before it.
    ASSERT_TRUE(FIND_NEXT(ui, viewer, ViewPosition{1, 14}, true));
    EXPECT_EQ(viewer.hit.line, 2);
    EXPECT_EQ(viewer.hit.column, 7u);
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, true));
    EXPECT_EQ(viewer.hit.column, 1u);
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, true));
    EXPECT_EQ(viewer.hit.line, 1);
    // Past the first hit the search goes on from the end of the file.
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, true));
    EXPECT_EQ(viewer.hit.line, 2);
    EXPECT_EQ(viewer.hit.column, 15u);

    // A text found once is found again at the same place.
    viewer.find.text = "four";
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, true));
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, true));
    EXPECT_EQ(viewer.hit.line, 3);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(TextViewerTest, MissingTextWarnsAndLongLineHitsAreFoundButNotHighlighted) {
    TextViewer viewer = shown("\nfirst\n" + std::string(250, '.') + "deep\n");
    viewer.find.text = "FIRST";
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, false));
    EXPECT_EQ(viewer.hit.line, 1);  // the blank first line does not count

    viewer.find.text = "deep";
    ASSERT_TRUE(FIND_NEXT(ui, viewer, std::nullopt, false));
    EXPECT_EQ(viewer.hit.line, 2);
    EXPECT_EQ(viewer.hit.column, 251u);
    EXPECT_FALSE(viewer.view.highlight.has_value());

    viewer.find.text = "absent ";
    EXPECT_FALSE(FIND_NEXT(ui, viewer, std::nullopt, false));
    EXPECT_EQ(viewer.hit.line, 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Could not find \"absent\""});
}

TEST_F(TextViewerTest, FindCommandsUseTheDialogSelectionAndDirection) {
    TextViewer viewer;
    EXPECT_EQ(SEARCH_RESULT(ui, viewer, {SearchCommand::OpenFind, {}, {}, {}}), SearchAction::None);

    viewer = shown("a key\nkey b key\nc key\n");
    // A selection becomes the search text and the hit.
    SearchRequest open{SearchCommand::OpenFind, {}, {}, ViewSelection{{1, 6}, "key  \r\nc"}};
    EXPECT_EQ(SEARCH_RESULT(ui, viewer, open), SearchAction::ShowDialog);
    EXPECT_EQ(viewer.find.text, "key  ");
    EXPECT_EQ(viewer.hit.line, 2);
    EXPECT_EQ(viewer.hit.column, 7u);
    EXPECT_EQ(viewer.hit.length, 3u);

    // "Find Previous" goes against the held direction for once.
    SearchRequest previous{SearchCommand::FindPrevious, {}, {}, {}};
    EXPECT_EQ(SEARCH_RESULT(ui, viewer, previous), SearchAction::Redraw);
    EXPECT_EQ(viewer.hit.column, 1u);
    EXPECT_FALSE(viewer.find.upward);

    FindSettings dialog{"KEY", false, true, false};
    SearchRequest next{SearchCommand::FindNext, dialog, {}, {}};
    EXPECT_EQ(SEARCH_RESULT(ui, viewer, next), SearchAction::None);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Could not find \"KEY\""});
    EXPECT_TRUE(viewer.find.match_case);

    next.dialog = FindSettings{"   ", false, false, false};
    EXPECT_EQ(SEARCH_RESULT(ui, viewer, next), SearchAction::None);
    EXPECT_EQ(ui.texts().size(), 1u);
}

}  // namespace
