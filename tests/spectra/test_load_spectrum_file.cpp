#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>

#include "detect_format.h"
#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"

using namespace vorelbox;
using spectra::DETECT_FORMAT;

namespace {

struct Loaded {
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    spectra::LoadResult result;
};

// Loads a text through the stream layer, answering queries from `answers`.
std::unique_ptr<Loaded> load(const std::string& text, std::initializer_list<int> answers = {},
                             bool quiet = false) {
    auto l = std::make_unique<Loaded>();
    for (const int a : answers) {
        l->ui.answer(a);
    }
    std::istringstream in(text);
    l->result = spectra::load_spectrum_stream(l->store, l->ui, in, "/data/run.dat", quiet);
    return l;
}

std::string fixed_lines(int first, int count, int per_line, int width) {
    std::ostringstream out;
    for (int i = 0; i < count; ++i) {
        out << std::setw(width) << first + i;
        if ((i + 1) % per_line == 0 || i + 1 == count) {
            out << '\n';
        }
    }
    return out.str();
}

double channel(const spectra::SpectrumStore& s, int k, int i) {
    return s.FILE_SPECTRA[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(i - 1)];
}

}  // namespace

TEST(DetectFormat, RightJustifiedColumnsGiveRealAndIntegerFormats) {
    const auto f = DETECT_FORMAT("      1      2      3      4      5      6      7      8      9     10");
    EXPECT_EQ(f.n, 10);
    EXPECT_EQ(f.read_format, "(10f7.0)");
    EXPECT_EQ(f.integer_format, "(10i7)");
    EXPECT_EQ(f.kind, "fixed");
    EXPECT_FALSE(f.has_point);
}

TEST(DetectFormat, FirstFieldOfItsOwnWidth) {
    const auto f = DETECT_FORMAT("         100     12     13");
    EXPECT_EQ(f.read_format, "(f12.0,2f7.0)");
    EXPECT_EQ(f.integer_format, "(i12,2i7)");
}

TEST(DetectFormat, SingleValueTakesAtLeastTenColumns) {
    EXPECT_EQ(DETECT_FORMAT("  42").read_format, "(f10.0)");
    EXPECT_EQ(DETECT_FORMAT("  42").integer_format, "(i10)");
    EXPECT_EQ(DETECT_FORMAT("            42").read_format, "(f14.0)");
}

TEST(DetectFormat, DecimalPointDropsTheIntegerFormat) {
    const auto f = DETECT_FORMAT("    1.5    2.5");
    EXPECT_TRUE(f.has_point);
    EXPECT_EQ(f.read_format, "(2f7.0)");
    EXPECT_EQ(f.integer_format, "");
}

TEST(DetectFormat, UnequalWidthsAreAFreeLayout) {
    const auto f = DETECT_FORMAT("12, 14, 9");
    EXPECT_EQ(f.n, 3);
    EXPECT_EQ(f.read_format, "*");
    EXPECT_EQ(f.kind, "free");
    EXPECT_TRUE(f.is_data());
}

TEST(DetectFormat, AnyOtherCharacterMakesAHeader) {
    for (const char* line : {"Spectrum 1", "12 13 x4", "1e3", "+5", "12;13"}) {
        const auto f = DETECT_FORMAT(line);
        EXPECT_EQ(f.n, 0) << line;
        EXPECT_EQ(f.read_format, "?") << line;
        EXPECT_EQ(spectra::count_data_values(line), 0) << line;
    }
    EXPECT_EQ(DETECT_FORMAT("   ").n, 0);
}

TEST(DetectFormat, FieldWiderThan99ColumnsHasNoFormat) {
    const auto f = DETECT_FORMAT(std::string(100, ' ') + "5");
    EXPECT_EQ(f.read_format, "?");
    EXPECT_FALSE(f.is_data());
    EXPECT_EQ(spectra::count_data_values(std::string(100, ' ') + "5"), 0);
}

TEST(DetectFormat, CountingValuesAgreesWithTheFullDetectionOnRandomLines) {
    // Values of digits, points and minus signs after runs of blanks, tabs and
    // commas of any length (a last field of 99 columns reads, one of 100 does
    // not), with now and then a byte that is neither (next to the digits in the
    // character table too), and line ends that are trimmed or not.
    std::mt19937 random(23);
    const std::string value_chars = "0123456789.-";
    const std::string separators = " \t,";
    const std::string others = std::string("/:+eE;x\x80\xb5\x3f", 9) + '\0' + '\r';
    const std::string endings[] = {"", " ", "\t", "\r", std::string(1, '\0'), ",", " \r ", ",,"};
    std::uniform_int_distribution<int> tokens(0, 12);
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<int> gap(0, 105);
    std::uniform_int_distribution<int> short_gap(1, 4);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::size_t> pick(0, 1000);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string line;
        for (int t = tokens(random); t > 0; --t) {
            const int blanks = percent(random) < 10 ? gap(random) : short_gap(random);
            for (int b = 0; b < blanks; ++b) {
                line += separators[pick(random) % separators.size()];
            }
            for (int c = length(random); c > 0; --c) {
                line += percent(random) < 1 ? others[pick(random) % others.size()]
                                            : value_chars[pick(random) % value_chars.size()];
            }
        }
        line += endings[pick(random) % std::size(endings)];
        const auto f = DETECT_FORMAT(line);
        ASSERT_EQ(spectra::count_data_values(line), f.is_data() ? f.n : 0) << '"' << line << '"';
    }
}

TEST(LoadSpectrumFile, OneValueALine) {
    std::string text = "Run 7 one value a line\n";
    for (int i = 1; i <= 1024; ++i) {
        text += std::to_string(i * 3) + "\n";
    }
    auto l = load(text);
    EXPECT_EQ(l->result.channel_count, 1024);
    EXPECT_EQ(l->result.format, "(i10)");
    EXPECT_EQ(l->store.FILE_SPECTRUM_COUNT, 1);
    EXPECT_EQ(l->store.FILE_SPECTRUM_HEADERS[0], "Run 7 one value a line");
    EXPECT_EQ(channel(l->store, 1, 1024), 3072.0);
    EXPECT_EQ(l->store.CHANNEL_CAPACITY, 1024);
    EXPECT_EQ(l->store.LOADED_SPECTRUM_FILE, "/data/run.dat");
    EXPECT_TRUE(l->ui.shown().empty());
}

TEST(LoadSpectrumFile, TenColumnsWithShortLastLineInTwoSpectra) {
    const std::string text = "first\n" + fixed_lines(1, 1024, 10, 7) + "\nsecond\n" + fixed_lines(5001, 1024, 10, 7);
    auto l = load(text);
    EXPECT_EQ(l->result.channel_count, 1024);
    EXPECT_EQ(l->result.format, "(10i7)");
    ASSERT_EQ(l->store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(channel(l->store, 1, 1), 1.0);
    EXPECT_EQ(channel(l->store, 1, 1024), 1024.0);
    EXPECT_EQ(channel(l->store, 2, 1), 5001.0);
    EXPECT_EQ(channel(l->store, 2, 1024), 6024.0);
    EXPECT_EQ(l->store.FILE_SPECTRUM_HEADERS[1], "second");
}

TEST(LoadSpectrumFile, FreeLayoutWithCommasAndDecimals) {
    auto l = load("pasted\n12, 14, 9\n1.5,  2.25, 3\n7\n");
    EXPECT_EQ(l->result.channel_count, 7);
    EXPECT_EQ(l->result.format, "*");
    EXPECT_EQ(channel(l->store, 1, 4), 1.5);
    EXPECT_EQ(channel(l->store, 1, 5), 2.25);
    EXPECT_EQ(channel(l->store, 1, 7), 7.0);
}

TEST(LoadSpectrumFile, WindowsLineEndsReadLikeUnixOnes) {
    const std::string unix_text = "head\n" + fixed_lines(1, 25, 10, 8) + "\nnext\n" + fixed_lines(100, 25, 10, 8);
    std::string windows_text;
    for (const char c : unix_text) {
        if (c == '\n') {
            windows_text += '\r';
        }
        windows_text += c;
    }
    windows_text.pop_back();  // and no line end after the last line
    windows_text.pop_back();
    auto a = load(unix_text);
    auto b = load(windows_text);
    EXPECT_EQ(a->result.channel_count, 25);
    EXPECT_EQ(b->result.channel_count, 25);
    EXPECT_EQ(b->result.format, a->result.format);
    EXPECT_EQ(b->store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(b->store.FILE_SPECTRUM_HEADERS[1], "next");
    EXPECT_EQ(channel(b->store, 2, 25), 124.0);
    EXPECT_TRUE(b->ui.shown().empty());
}

TEST(LoadSpectrumFile, CountsAboveSinglePrecisionStayExact) {
    auto l = load("big\n16777217 16777219\n123456789012 3\n");
    EXPECT_EQ(channel(l->store, 1, 1), 16777217.0);
    EXPECT_EQ(channel(l->store, 1, 2), 16777219.0);
    EXPECT_EQ(channel(l->store, 1, 3), 123456789012.0);
}

TEST(LoadSpectrumFile, LongLineIsReadWhole) {
    std::string line;
    for (int i = 1; i <= 400; ++i) {
        std::string v = std::to_string(i);
        line += std::string(8 - v.size(), ' ') + v;
    }
    auto l = load("one long line\n" + line + "\n");
    EXPECT_EQ(l->result.channel_count, 400);
    EXPECT_EQ(l->result.format, "(400i8)");
    EXPECT_EQ(channel(l->store, 1, 400), 400.0);
}

TEST(LoadSpectrumFile, HeaderKeepsItsFirst80Characters) {
    const std::string header = std::string(80, 'h') + std::string(40, 't');
    auto l = load(header + "\n1 2\n3 4\n");
    EXPECT_EQ(l->store.FILE_SPECTRUM_HEADERS[0], std::string(80, 'h'));
}

TEST(LoadSpectrumFile, AtMost100SpectraAreKept) {
    std::string text;
    for (int k = 1; k <= 101; ++k) {
        text += "spectrum " + std::to_string(k) + "\n" + fixed_lines(k, 12, 10, 8);
    }
    text += "spectrum 102\n" + fixed_lines(102, 12, 10, 8);
    auto l = load(text);
    EXPECT_EQ(l->store.FILE_SPECTRUM_COUNT, 100);
    EXPECT_EQ(l->store.FILE_SPECTRUM_HEADERS[99], "spectrum 100");
    EXPECT_EQ(channel(l->store, 100, 1), 100.0);
    // The user is told how many were not read.
    EXPECT_EQ(l->ui.texts(), (std::vector<std::string>{
                                 "The spectrum file \"/data/run.dat\" holds 102 spectra\rThe first 100 are read, 2 are not"}));
}

TEST(LoadSpectrumFile, BlankLinesBetweenAHeaderAndItsDataArePassedOver) {
    auto l = load("a\n\n   1   2   3\n   4   5   6\n\nb\n\n\n   7   8   9\n  10  11  12\n");
    EXPECT_EQ(l->result.channel_count, 6);
    ASSERT_EQ(l->store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(channel(l->store, 1, 1), 1.0);
    EXPECT_EQ(channel(l->store, 1, 6), 6.0);
    EXPECT_EQ(channel(l->store, 2, 1), 7.0);
    EXPECT_TRUE(l->ui.texts().empty());

    auto single = load("column\n\n5\n6\n7\n");
    EXPECT_EQ(single->result.channel_count, 3);
    EXPECT_EQ(channel(single->store, 1, 1), 5.0);
}

TEST(LoadSpectrumFile, ALoneMinusOrPointIsACountOfZero) {
    auto l = load("cells\n       1       -       3\n       .       5       6\n");
    EXPECT_EQ(l->result.channel_count, 6);
    EXPECT_TRUE(l->ui.texts().empty());
    EXPECT_EQ(channel(l->store, 1, 2), 0.0);
    EXPECT_EQ(channel(l->store, 1, 4), 0.0);
    EXPECT_EQ(channel(l->store, 1, 6), 6.0);
}

TEST(LoadSpectrumFile, ShortLastSpectrumIsPaddedAndReported) {
    const std::string text = "a\n" + fixed_lines(1, 30, 10, 8) + "b\n" + fixed_lines(1, 24, 10, 8);
    auto l = load(text);
    ASSERT_EQ(l->store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(l->result.channel_count, 30);
    ASSERT_EQ(l->ui.shown().size(), 1u);
    EXPECT_EQ(l->ui.shown()[0].caption, "Vorelbox Message");
    EXPECT_EQ(l->ui.shown()[0].text,
              "The last spectrum in the file is shorter (24 channels)\r"
              "than the first (30 channels) - it will be padded by 0'es)");
    EXPECT_EQ(channel(l->store, 2, 24), 24.0);
    EXPECT_EQ(channel(l->store, 2, 25), 0.0);
    EXPECT_EQ(channel(l->store, 2, 30), 0.0);
}

TEST(LoadSpectrumFile, EmptyFilesAndFilesWithoutCountsAreTold) {
    for (const char* text : {"", "\n \r\n\t\n", "\xEF\xBB\xBF"}) {
        auto l = load(text);
        EXPECT_EQ(l->result.channel_count, 0);
        EXPECT_EQ(l->ui.texts(), std::vector<std::string>{"The spectrum file \"/data/run.dat\" is empty"});
    }
    // Text or bytes without a line of counts are not "empty".
    for (const std::string& text : {std::string("only a header\n"), std::string("\n\nheader\n\n\n"),
                                   std::string(4096, '\0'), std::string("\x7f" "ELF\x02\x01\x01\0\0", 9)}) {
        auto l = load(text);
        EXPECT_EQ(l->result.channel_count, 0);
        EXPECT_EQ(l->ui.texts(), std::vector<std::string>{
                                     "The file \"/data/run.dat\" holds no spectrum: no line of counts was found"});
    }
}

TEST(LoadSpectrumFile, NoLayoutAfterTheHeaderIsTold) {
    // Counts appear only after lines of text: no layout can be read from the
    // lines after the header.
    auto text = load("header\nsome text\nmore text\n 1 2 3\n");
    EXPECT_EQ(text->result.channel_count, 0);
    EXPECT_EQ(text->ui.texts(), std::vector<std::string>{"Error reading spectrum file: /data/run.dat\r"
                                                         "Expecting spectrum data reading the line:\r"
                                                         "some text\rNo spectrum was read"});
    // A count wider than any field in the line that gives the layout.
    auto wide = load("header\n 1 2" + std::string(120, ' ') + "3\n 4\n");
    EXPECT_EQ(wide->result.channel_count, 0);
    ASSERT_EQ(wide->ui.texts().size(), 1u);
    EXPECT_NE(wide->ui.texts()[0].find("No spectrum was read"), std::string::npos);
}

TEST(LoadSpectrumFile, LongRunsOfDigitsAreReadAsLargeCounts) {
    // Nineteen digits and more overflow any integer: they are read as reals.
    auto l = load("h\n 1 12345678901234567890 99999999999999999999999999 7\n");
    ASSERT_EQ(l->result.channel_count, 4);
    EXPECT_EQ(channel(l->store, 1, 2), 12345678901234567890.0);
    EXPECT_EQ(channel(l->store, 1, 3), 1e26);
    EXPECT_EQ(channel(l->store, 1, 4), 7.0);
    auto negative = load("h\n -9223372036854775809 -1234567890123456\n");
    EXPECT_EQ(channel(negative->store, 1, 1), -9223372036854775809.0);
    EXPECT_EQ(channel(negative->store, 1, 2), -1234567890123456.0);
}

TEST(LoadSpectrumFile, SpectraOfMoreChannelsThanCanBeReadAreRefused) {
    std::string one_line = "header\n";
    for (int i = 0; i < spectra::MAX_CHANNELS + 1; ++i) {
        one_line += " 0";
    }
    auto l = load(one_line + "\n");
    EXPECT_EQ(l->result.channel_count, 0);
    EXPECT_EQ(l->ui.texts(), std::vector<std::string>{"The spectrum file /data/run.dat holds a spectrum of more than "
                                                      "262144 channels; at most 262144 channels can be read"});
    EXPECT_EQ(l->store.CHANNEL_CAPACITY, 0);
    // Lines of ten: the limit itself is read.
    std::string lines = "header\n";
    for (int i = 0; i < spectra::MAX_CHANNELS / 8; ++i) {
        lines += " 1 1 1 1 1 1 1 1\n";
    }
    auto at_limit = load(lines);
    EXPECT_EQ(at_limit->result.channel_count, spectra::MAX_CHANNELS);
    EXPECT_TRUE(at_limit->ui.texts().empty());
    auto over = load(lines + " 1\n");
    EXPECT_EQ(over->result.channel_count, 0);
}

TEST(LoadSpectrumFile, FilesThatCannotBeOpenedAreTold) {
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    const std::string gone = (std::filesystem::temp_directory_path() / "vorelbox_no_such_file.dat").string();
    EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(store, ui, gone).channel_count, 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Error opening the spectrum file: " + gone});
}

TEST(LoadSpectrumFile, SpectraOfASingleDataLineEach) {
    // Files the program writes for spectra of up to ten channels look like this.
    auto l = load("a\n1 2 3\nb\n4 5 6\n");
    EXPECT_EQ(l->result.channel_count, 3);
    ASSERT_EQ(l->store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(channel(l->store, 2, 3), 6.0);
    EXPECT_EQ(l->store.FILE_SPECTRUM_HEADERS[1], "b");
    EXPECT_TRUE(l->ui.shown().empty());

    auto blank_after = load("a\n1 2 3\n\n");
    EXPECT_EQ(blank_after->result.channel_count, 3);
    auto end_after = load("a\n1 2 3");
    EXPECT_EQ(end_after->result.channel_count, 3);
    EXPECT_EQ(channel(end_after->store, 1, 3), 3.0);
}

TEST(LoadSpectrumFile, OverflowedFieldSkipsTheRest) {
    const std::string text = "a\n" + fixed_lines(1, 20, 10, 8) + "b\n" + fixed_lines(1, 10, 10, 8) +
                             "      11********      13\n" + "c\n" + fixed_lines(1, 20, 10, 8);
    auto l = load(text);
    EXPECT_EQ(l->store.FILE_SPECTRUM_COUNT, 1);
    EXPECT_EQ(l->result.channel_count, 20);
    ASSERT_EQ(l->ui.texts().size(), 1u);
    EXPECT_EQ(l->ui.texts()[0],
              "Error reading spectrum file: /data/run.dat\rExpecting spectrum data reading the line:\r"
              "      11********      13\rThe rest of the spectrum file is skipped");
}

TEST(LoadSpectrumFile, RepairKeepsThePartialSpectrumAndReadsTheNextOne) {
    // The second spectrum is shorter, and a third follows it.
    const std::string text = "a\n" + fixed_lines(1, 20, 10, 8) + "b\n" + fixed_lines(101, 10, 10, 8) + "c\n" +
                             fixed_lines(201, 20, 10, 8);
    auto l = load(text, {common::answer::yes});
    ASSERT_EQ(l->store.FILE_SPECTRUM_COUNT, 3);
    EXPECT_EQ(l->ui.requests()[0].caption, "Vorelbox Query:");
    EXPECT_EQ(l->ui.texts()[0],
              "Error reading spectrum file: /data/run.dat\rExpecting spectrum data reading the line:\r"
              "c\rShall I repair the spectrum?");
    EXPECT_EQ(channel(l->store, 2, 10), 110.0);
    EXPECT_EQ(channel(l->store, 2, 11), 0.0);
    EXPECT_EQ(l->store.FILE_SPECTRUM_HEADERS[2], "c");
    EXPECT_EQ(channel(l->store, 3, 1), 201.0);
    EXPECT_EQ(channel(l->store, 3, 20), 220.0);
}

TEST(LoadSpectrumFile, RefusedRepairOrQuietLoadKeepsNothing) {
    const std::string text = "a\n" + fixed_lines(1, 20, 10, 8) + "b\n" + fixed_lines(1, 10, 10, 8) + "c\n";
    auto refused = load(text, {common::answer::no});
    EXPECT_EQ(refused->result.channel_count, 0);
    EXPECT_EQ(refused->store.FILE_SPECTRUM_COUNT, 0);

    auto quiet = load(text, {}, true);
    EXPECT_EQ(quiet->result.channel_count, 0);
    EXPECT_TRUE(quiet->ui.shown().empty());
}

TEST(LoadSpectrumFile, MissingFileLoadsNothingAndIsToldUnlessQuiet) {
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    const auto r = spectra::LOAD_SPECTRUM_FILE(store, ui, "/nonexistent/vorelbox/none.dat");
    EXPECT_EQ(r.channel_count, 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Error opening the spectrum file: /nonexistent/vorelbox/none.dat"});
    fakes::ScriptedUi quiet;
    EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(store, quiet, "/nonexistent/vorelbox/none.dat", true).channel_count, 0);
    EXPECT_TRUE(quiet.shown().empty());
}

TEST(LoadSpectrumFile, ReadsFromAPath) {
    const auto path = std::filesystem::temp_directory_path() / "vorelbox_test_load_path.dat";
    std::ofstream(path) << "x\n" << fixed_lines(1, 15, 10, 8);
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    const auto r = spectra::LOAD_SPECTRUM_FILE(store, ui, path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(r.channel_count, 15);
    EXPECT_EQ(r.format, "(10i8)");
    EXPECT_EQ(store.CHANNEL_COUNT, 15);
}
