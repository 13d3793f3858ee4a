#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fakes/recording_print_device.h"
#include "fakes/scripted_ui.h"
#include "fonts.h"
#include "page_setup.h"
#include "print_device.h"
#include "print_file.h"

namespace vorelbox::print {
namespace {

using fakes::PrintRecording;
using fakes::RecordedText;
using fakes::recording_printer;
using fakes::ScriptedUi;

// 254 dpi makes 100 device units a cm; the report font of 10 points is then 35 units
// high (17 wide in the recording printer) and lines are 42 apart. With 2 cm margins
// on a 2100 x 2970 page: x0 = 200, right = 1900, top = 200, bottom = 2770.
constexpr int dpi = 254;
constexpr int page_width = 2100;
constexpr int page_height = 2970;

class PrintFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vorelbox_print_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write_file(const std::string& name, const std::string& text) {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    void print(const std::string& file, const PageSetup& setup = {}) {
        PRINTFILE(recording_printer(recording, dpi, page_width, page_height), ui, setup, "Vorelix Analysis", file);
    }

    // The texts of a page in the order drawn.
    std::vector<std::string> texts(std::size_t page) const {
        std::vector<std::string> out;
        for (const RecordedText& t : recording.pages.at(page).texts) {
            out.push_back(t.text);
        }
        return out;
    }

    std::filesystem::path dir_;
    PrintRecording recording;
    ScriptedUi ui;
};

TEST(PageGeometry, MarginsBecomeDeviceUnits) {
    // 600 dpi: 236.22 units a cm; left and top are cut, right and bottom rounded.
    const PageGeometry g = page_geometry(600, 4960, 7016, {2.0, 3.0, 2.7, 1.5});
    EXPECT_EQ(g.x0, 472);
    EXPECT_EQ(g.right, 4960 - 709);
    EXPECT_EQ(g.top, 637);
    EXPECT_EQ(g.bottom, 7016 - 354);

    EXPECT_EQ(printer_pen_width(600), 20);
    EXPECT_EQ(printer_pen_width(300), 10);

    EXPECT_EQ(graph_unit(50.0), 1);
    EXPECT_EQ(graph_unit(40.96), 1);
    EXPECT_EQ(graph_unit(100.0), 2);
    EXPECT_EQ(graph_unit(39.0), 0);
}

TEST(PrintJob, StartsWithThePenAndTrimmedTitleAndEndsEveryPage) {
    PrintRecording recording;
    auto context = STARTPRINT_DC(recording_printer(recording, 600, 4960, 7016), {}, "Plot of run 7   ");
    ASSERT_TRUE(context);
    EXPECT_EQ(context->geometry.x0, 472);
    ASSERT_EQ(recording.pens.size(), 1u);
    EXPECT_EQ(recording.pens[0].width, 20);
    new_page(*context);
    end_document(*context);
    EXPECT_EQ(recording.title, "Plot of run 7");
    EXPECT_EQ(recording.pages.size(), 2u);
    EXPECT_TRUE(recording.document_ended);
    EXPECT_FALSE(context->device);

    const ChoosePrinter cancelled = [](std::string_view) { return std::unique_ptr<PrintDevice>(); };
    EXPECT_FALSE(STARTPRINT_DC(cancelled, {}, "Plot"));
}

TEST(Fonts, HeightsFollowTheResolutionOfTheTarget) {
    PrintRecording recording;
    fakes::RecordingPrintDevice screen(recording, 96, 800, 600);
    fakes::RecordingPrintDevice printer(recording, 600, 4960, 7016);

    FontChoice font = SETDEFAULTFONT(screen, "Courier New", "10");
    EXPECT_EQ(font.char_height, 13);  // 96 * 10 / 72
    EXPECT_EQ(font.line_height, 16);  // 96 * 10 / 60
    EXPECT_EQ(font.face, "Courier New");
    font = SETDEFAULTFONT(printer, "Courier New", "10");
    EXPECT_EQ(font.char_height, 83);
    EXPECT_EQ(font.line_height, 100);
    EXPECT_EQ(SETDEFAULTFONT(screen, "Arial", " 12").char_height, 16);
    for (const char* size : {"0", "", "abc", "-3"}) {
        EXPECT_EQ(SETDEFAULTFONT(screen, "Arial", size).points, 10.0) << size;
    }

    // Two points smaller, bold, reading upward.
    font = SELECTRELATIVEFONT(printer, 10.0, "bold", -2, "Arial", 90);
    EXPECT_EQ(font.char_height, 66);
    EXPECT_EQ(font.line_height, 80);
    const FontRequest request = font_request(600, 8.0, "bold", "Arial", 90);
    EXPECT_EQ(request.escapement, 900);
    EXPECT_EQ(request.weight, 700);
    EXPECT_TRUE(font_request(96, 10.0, "italic", "Arial", 0).italic);
}

TEST(Fonts, ListsKeepAHundredScalableNamesEach) {
    std::vector<FontFamily> families;
    for (int i = 0; i < 105; ++i) {
        families.push_back({"Mono " + std::to_string(i), true, true, true});
    }
    families.push_back({"Kai", true, true, false});           // monospaced, not Western
    families.push_back({"Fixed", false, true, true});         // a bitmap font
    families.push_back({std::string(33, 'L'), true, true, true});  // too long to be stored
    families.push_back({"Arial", true, false, true});
    const FontLists lists = font_lists(families);
    ASSERT_EQ(lists.monospaced.size(), 100u);
    ASSERT_EQ(lists.all.size(), 100u);
    EXPECT_EQ(lists.monospaced[98], "Mono 98");
    EXPECT_EQ(lists.monospaced.back(), "Mono 104");
    EXPECT_EQ(lists.all.back(), "Arial");

    const FontLists few = font_lists({{"Kai", true, true, false}, {"Fixed", false, true, true},
                                      {"DejaVu Sans Mono", true, true, true}});
    EXPECT_EQ(few.all, (std::vector<std::string>{"Kai", "DejaVu Sans Mono"}));
    EXPECT_EQ(few.monospaced, (std::vector<std::string>{"DejaVu Sans Mono"}));
}

TEST(PageSetupValues, SizeTextsMustBeIntegers) {
    for (const char* size : {"10", " 8", "24    ", "+7", "1234567"}) {
        EXPECT_TRUE(font_size_accepted(size)) << size;
    }
    for (const char* size : {"", "  ", "abc", "1.5", "T", "f", "1 2", "12pt"}) {
        EXPECT_FALSE(font_size_accepted(size)) << size;
    }
}

TEST(PageSetupValues, OkStoresWhatReadsAndRefusesAnIllegalSize) {
    const PageSetup stored;
    PageSetupEntry entry = page_setup_entry(stored);
    EXPECT_EQ(entry.left, "2.00");
    entry.left = "1.5";
    entry.right = "x";
    entry.report_font = "DejaVu Sans Mono";
    entry.report_font_size = "12";
    entry.graphics_font_size = "big";
    entry.print_page_header = false;

    ScriptedUi ui;
    PageSetupTaken taken = take_page_setup(ui, stored, entry);
    EXPECT_FALSE(taken.valid);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Data syntax error reading: \"x\"", "Illegal fontsize"}));
    EXPECT_EQ(taken.setup.margins.left, 1.5);
    EXPECT_EQ(taken.setup.margins.right, 2.0);
    EXPECT_EQ(taken.setup.report_font, "DejaVu Sans Mono");
    EXPECT_EQ(taken.setup.report_font_size, "12");
    EXPECT_EQ(taken.setup.graphics_font_size, "10");
    EXPECT_FALSE(taken.setup.print_page_header);

    // Shown again with the stored values, a legal size is taken.
    entry = page_setup_entry(taken.setup);
    EXPECT_EQ(entry.left, "1.50");
    entry.graphics_font_size = " 8";
    ScriptedUi quiet;
    taken = take_page_setup(quiet, taken.setup, entry);
    EXPECT_TRUE(taken.valid);
    EXPECT_TRUE(quiet.texts().empty());
    EXPECT_EQ(taken.setup.graphics_font_size, " 8");
}

TEST(TabStops, PlaceTheColumnsBetweenTheMargins) {
    const PageGeometry g = page_geometry(dpi, page_width, page_height, {});
    TabStops stops = TAB_STOP(g, {{{1.0, 'l'}, {-2.0, 'c'}, {-1.5, 'r'}, {2.0, 'L'}}});
    EXPECT_EQ(stops[0].x, 300);
    EXPECT_EQ(stops[0].align, 'L');
    EXPECT_EQ(stops[1].x, 850);  // centre 1050 - 200
    EXPECT_EQ(stops[1].align, 'C');
    EXPECT_EQ(stops[2].x, 1750);  // right 1900 - 150
    EXPECT_EQ(stops[2].align, 'R');
    EXPECT_EQ(stops[3].x, 400);
    stops = TAB_STOP(g, {{{0.0, 'L'}, {3.4, 'R'}, {0.0, 'C'}, {0.0, 'R'}}});
    EXPECT_EQ(stops[1].x, 540);
    EXPECT_EQ(stops[2].x, 1050);
    EXPECT_EQ(stops[3].x, 1900);
}

TEST(TextPlacement, FieldsAndPlotTextsAlignOnTheirPoint) {
    PrintRecording recording;
    auto context = STARTPRINT_DC(recording_printer(recording, dpi, page_width, page_height), {}, "t");
    ASSERT_TRUE(context);
    PrintDevice& device = *context->device;
    SETDEFAULTFONT(device, "Courier New", "10");  // 17 units a character
    context->y = 500;
    ScriptedUi ui;
    PRINT_TXT(*context, ui, 1900, 'R', std::string(120, 'w'));  // wider than the page: starts at x0
    PRINT_TXT(*context, ui, 1000, 'C', "abcd  ");
    PRINT_TXT(*context, ui, 1000, 'X', "lost");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unknown kind of print \"X\""});

    EXPECT_EQ(PRINT_L(device, 100, 10, "ab  "), 134);
    EXPECT_EQ(PRINT_R(device, 100, 10, "ab"), 66);
    PRINT_C(device, 100, 10, "abc");

    const auto& drawn = recording.pages.at(0).texts;
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0].x, 200);
    EXPECT_EQ(drawn[1].x, 1000 - 34);
    EXPECT_EQ(drawn[1].text, "abcd");
    EXPECT_EQ(drawn[2].text, "ab");
    EXPECT_EQ(drawn[2].x, 100);
    EXPECT_EQ(drawn[3].x, 66);
    EXPECT_EQ(drawn[4].x, 100 - 25);
}

TEST_F(PrintFileTest, NothingToPrintOrCancelledPrintsNothing) {
    print(write_file("empty.txt", ""));
    print((dir_ / "missing.txt").string());
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"There is nothing to print", "There is nothing to print"}));
    EXPECT_EQ(recording.printers_chosen, 0);

    ScriptedUi quiet;
    const ChoosePrinter cancelled = [](std::string_view) { return std::unique_ptr<PrintDevice>(); };
    PRINTFILE(cancelled, quiet, {}, "title", write_file("one.txt", "one line\n"));
    EXPECT_TRUE(quiet.texts().empty());
}

TEST_F(PrintFileTest, PagesBreakAtTheBottomMarginWithAHeaderOnEach) {
    std::string text;
    for (int i = 1; i <= 130; ++i) {
        text += "line " + std::to_string(i) + "   \r\n";
    }
    print(write_file("report.txt", text));
    EXPECT_TRUE(ui.texts().empty());
    EXPECT_EQ(recording.title, "Vorelix Analysis");
    EXPECT_TRUE(recording.document_ended);

    // Header at the top margin, lines from two line heights below it, 42 apart while
    // a line still ends above the bottom margin: 59 lines a page.
    ASSERT_EQ(recording.pages.size(), 3u);
    const std::vector<std::size_t> lines_on_page{59, 59, 12};
    int next_line = 1;
    for (std::size_t p = 0; p < 3; ++p) {
        const auto& drawn = recording.pages[p].texts;
        ASSERT_EQ(drawn.size(), 3 + lines_on_page[p]) << "page " << p + 1;
        const std::string page_label = "page " + std::to_string(p + 1);
        EXPECT_EQ(drawn[0].text, "Vorelix Analysis");
        EXPECT_EQ(drawn[0].x, 200);
        EXPECT_EQ(drawn[1].text, "report.txt");
        EXPECT_EQ(drawn[1].x, 1050 - 85);
        EXPECT_EQ(drawn[2].text, page_label);
        EXPECT_EQ(drawn[2].x, 1900 - 102);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(drawn[k].y, 200);
        }
        for (std::size_t k = 0; k < lines_on_page[p]; ++k) {
            const RecordedText& line = drawn[3 + k];
            EXPECT_EQ(line.text, "line " + std::to_string(next_line++));
            EXPECT_EQ(line.x, 200);
            EXPECT_EQ(line.y, 284 + 42 * static_cast<int>(k));
        }
        for (const RecordedText& t : drawn) {
            EXPECT_EQ(t.font.face, "Courier New");
            EXPECT_EQ(t.font.char_height, 35);
            EXPECT_EQ(t.font.weight, 400);
        }
    }
}

TEST_F(PrintFileTest, FormFeedStartsANewPageAndDropsTheRestOfItsLine) {
    PageSetup setup;
    setup.print_page_header = false;
    setup.report_font = "DejaVu Sans Mono";
    setup.report_font_size = "12";  // 42 high, lines 50 apart
    const std::string long_line = std::string(197, 'a') + "bcdef";
    print(write_file("ff.txt", "one\ntwo\fgone\nthree  \n" + long_line + "\n\fx\nlast"), setup);
    ASSERT_EQ(recording.pages.size(), 3u);
    EXPECT_EQ(texts(0), std::vector<std::string>{"one"});
    EXPECT_EQ(texts(1), (std::vector<std::string>{"two", "three", std::string(197, 'a') + "bcd"}));
    EXPECT_EQ(texts(2), std::vector<std::string>{"last"});  // the emptied form-feed line came first
    const auto& second = recording.pages[1].texts;
    EXPECT_EQ(second[0].y, 200);
    EXPECT_EQ(second[1].y, 250);
    EXPECT_EQ(recording.pages[2].texts[0].y, 250);
    for (const auto& page : recording.pages) {
        for (const RecordedText& t : page.texts) {
            EXPECT_EQ(t.font.face, "DejaVu Sans Mono");
            EXPECT_EQ(t.font.char_height, 42);
        }
    }
}

TEST_F(PrintFileTest, LinesThatNeverFitGetAPageEach) {
    PageSetup setup;
    setup.print_page_header = false;
    setup.margins.bottom = 27.5;  // bottom at 220: a line of 42 from 200 does not fit
    print(write_file("tight.txt", "a\nb\nc\n"), setup);
    ASSERT_EQ(recording.pages.size(), 3u);
    for (std::size_t p = 0; p < 3; ++p) {
        ASSERT_EQ(recording.pages[p].texts.size(), 1u);
        EXPECT_EQ(recording.pages[p].texts[0].y, 200);
    }
    EXPECT_EQ(texts(2), std::vector<std::string>{"c"});
}

}  // namespace
}  // namespace vorelbox::print
