#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"
#include "support/files.h"
#include "support/spectrum_roundtrip.h"
#include "write_spectrum_file.h"

using namespace vorelbox;
using spectra::LONG_TITLE;
namespace fs = std::filesystem;

namespace {

std::string read_text(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path temp_path(const std::string& name) { return fs::temp_directory_path() / ("vorelbox_test_" + name); }

}  // namespace

TEST(CountFormat, WidensOnlyForCountsOfEightDigits) {
    const std::vector<double> small{1, 9999999};
    const std::vector<double> eight_digits{1, 99999999};
    const std::vector<double> nine_digits{100000000};
    EXPECT_EQ(spectra::count_format_for(small), "(10i8)");
    EXPECT_EQ(spectra::count_format_for(eight_digits), "(8i9)");
    EXPECT_EQ(spectra::count_format_for(nine_digits), "(8i10)");
    EXPECT_EQ(spectra::count_format_for(std::vector<double>{-9999999}), "(8i9)");

    const std::vector<spectra::SpectrumToWrite> both{{"a", small}, {"b", nine_digits}};
    EXPECT_EQ(spectra::count_format_for(both), "(8i10)");
}

TEST(WriteSpectra, WrittenFileReadsBackExactly) {
    std::vector<double> a(1024), b(1024);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<double>(i * 7);
        b[i] = 16777217.0 + static_cast<double>(i);
    }
    std::vector<spectra::SpectrumToWrite> spectra{{"first spectrum", a}, {"second", b}};
    const std::string format = spectra::count_format_for(spectra);
    EXPECT_EQ(format, "(8i9)");

    std::ostringstream out;
    ASSERT_TRUE(spectra::write_spectra(out, spectra, "(10i8)"));
    const std::string text = out.str();
    // 1 header + 103 data lines per spectrum, the last holding 4 counts.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 * 104);
    EXPECT_NE(text.find("\n    7140    7147    7154    7161\nsecond\n"), std::string::npos);

    std::ostringstream wide;
    ASSERT_TRUE(spectra::write_spectra(wide, spectra, format));
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    const auto r = spectra::load_spectrum_text(store, ui, wide.str(), "x.dat");
    EXPECT_EQ(r.channel_count, 1024);
    EXPECT_EQ(r.format, "(8i9)");
    ASSERT_EQ(store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(store.FILE_SPECTRUM_HEADERS[0], "first spectrum");
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(store.FILE_SPECTRA[0][i], a[i]);
        ASSERT_EQ(store.FILE_SPECTRA[1][i], b[i]);
    }
}

TEST(WriteSpectra, HeadersAreCutAt80AndNeverBlank) {
    const std::vector<double> counts{1, 2, 3};
    std::ostringstream out;
    ASSERT_TRUE(spectra::write_spectra(out, {{std::string(90, 'x'), counts}, {"   ", counts}}, "(10i8)"));
    EXPECT_EQ(out.str(), std::string(80, 'x') + "\n       1       2       3\nSpectrum 2\n       1       2       3\n");
}

TEST(WriteSpectra, HeadersThatReadAsCountsKeepTheirTextBehindTheSpectrumNumber) {
    EXPECT_EQ(spectra::header_line("2024 05 01", 2), "Spectrum 2: 2024 05 01");
    EXPECT_EQ(spectra::header_line("-", 1), "Spectrum 1: -");
    EXPECT_EQ(spectra::header_line("12,5\t7", 3), "Spectrum 3: 12,5 7");
    EXPECT_EQ(spectra::header_line("\xEF\xBB\xBF" "511 keV", 1), "511 keV");
    EXPECT_EQ(spectra::header_line("\xEF\xBB\xBF", 4), "Spectrum 4");
    EXPECT_EQ(spectra::header_line("511 keV", 1), "511 keV");
    EXPECT_EQ(spectra::header_line(std::string(79, '1'), 7), "Spectrum 7: " + std::string(68, '1'));
    EXPECT_EQ(spectra::header_line(std::string(79, '1'), 7, 200), "Spectrum 7: " + std::string(79, '1'));

    // Two 30-channel spectra, the second headed by a date: read back as 31 or 33
    // channels with every count shifted before headers were checked.
    std::vector<double> a(30), b(30);
    for (std::size_t i = 0; i < 30; ++i) {
        a[i] = static_cast<double>(i + 1);
        b[i] = static_cast<double>(100 + i);
    }
    std::ostringstream out;
    ASSERT_TRUE(spectra::write_spectra(out, {{"first", a}, {"2024 05 01", b}}, "(10i8)"));
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    EXPECT_EQ(spectra::load_spectrum_text(store, ui, out.str(), "x.dat").channel_count, 30);
    EXPECT_TRUE(ui.texts().empty());
    ASSERT_EQ(store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(store.FILE_SPECTRUM_HEADERS[1], "Spectrum 2: 2024 05 01");
    EXPECT_EQ(store.FILE_SPECTRA[1][0], 100.0);
    EXPECT_EQ(store.FILE_SPECTRA[1][29], 129.0);
}

TEST(WriteSpectra, CountsThatFillTheirFieldsDoNotRunTogether) {
    std::ostringstream out;
    ASSERT_TRUE(spectra::write_spectra(out, {{"h", std::vector<double>{-10, -10, 999, 1000}}}, "(4i3)"));
    EXPECT_EQ(out.str(), "h\n-10 -10 999 1000\n");
}

// Random spectra and headers, written in the writers' formats and read back:
// the same spectra. The fuzz target fuzz_roundtrip checks the same property on
// inputs that libFuzzer chooses.
TEST(WriteThenRead, RandomSpectraReadBackAsWritten) {
    std::mt19937 random(20240501);
    for (int round = 0; round < 400; ++round) {
        std::string bytes(2048, '\0');
        for (char& b : bytes) {
            b = static_cast<char>(random() & 0xFF);
        }
        test_support::ByteSource in(bytes);
        const test_support::RoundTripCase c = test_support::make_case(in);
        const auto mismatch = test_support::round_trip_mismatch(c);
        ASSERT_FALSE(mismatch) << "round " << round << ": " << *mismatch;
    }
}

TEST(WriteSpectrumFile, ReplacesTheOldFileAndLeavesItWhenWritingFails) {
    const fs::path path = temp_path("replace.dat");
    std::ofstream(path, std::ios::binary) << "old content\n";
    const std::vector<double> counts{5, 6};

    EXPECT_FALSE(spectra::write_spectrum_file(path.string(), {{"new", counts}}, "(bad)"));
    EXPECT_EQ(read_text(path), "old content\n");

    ASSERT_TRUE(spectra::write_spectrum_file(path.string(), {{"new", counts}}, "(10i8)"));
    EXPECT_EQ(read_text(path), support::system_text("new\n       5       6\n"));
    for (const auto& entry : fs::directory_iterator(path.parent_path())) {
        EXPECT_EQ(entry.path().string().find(path.string() + ".part"), std::string::npos);
    }
    fs::remove(path);

    EXPECT_FALSE(spectra::write_spectrum_file("/nonexistent-dir-vorelbox/x.dat", {{"new", counts}}, "(10i8)"));
}

TEST(LongTitle, ShortTitlesAndEmptyPathsStayWhole) {
    EXPECT_EQ(LONG_TITLE("Spectrum list: ", ""), "Spectrum list: ");
    EXPECT_EQ(LONG_TITLE("Spectrum list: ", "C:\\data\\a.vsl"), "Spectrum list: C:\\data\\a.vsl");
}

TEST(LongTitle, LongPathKeepsTheFileNameWhole) {
    const std::string title(30, 'T');
    const std::string path = "D:\\" + std::string(44, 'd') + "\\run_0001.dat";
    ASSERT_EQ(path.size(), 60u);
    const std::string result = LONG_TITLE(title, path);
    EXPECT_EQ(result, title + "D:\\" + std::string(30, 'd') + "...\\run_0001.dat");
    EXPECT_EQ(result.size(), 79u);

    const std::string unix_result = LONG_TITLE(title, "/home/" + std::string(60, 'u') + "/spectrum.dat");
    EXPECT_EQ(unix_result.substr(unix_result.size() - 16), ".../spectrum.dat");
    EXPECT_LE(unix_result.size(), 80u);
}

// A path of a folder and a file name, of the given lengths, below the root.
std::string path_of(std::size_t folder, std::string_view name) {
    std::string path(1, '/');
    path.append(folder, 'd');
    path.push_back('/');
    path.append(name);
    return path;
}

TEST(LongTitle, NeverExceedsEightyCharactersAndKeepsTheFileNameWhereItFits) {
    // A 30-character title and a 70-character file name: the title gives way.
    const std::string name = std::string(66, 'n') + ".dat";
    EXPECT_EQ(LONG_TITLE(std::string(30, 'T'), path_of(4, name)), "TTTTTT.../" + name);
    for (std::size_t title = 0; title <= 90; title += 5) {
        for (std::size_t folder = 0; folder <= 90; folder += 15) {
            for (std::size_t file = 1; file <= 100; file += 9) {
                const std::string file_name(file, 'f');
                const std::string out = LONG_TITLE(std::string(title, 'T'), path_of(folder, file_name));
                ASSERT_LE(out.size(), 80u) << title << " " << folder << " " << file;
                if (file + 4 <= 80) {
                    EXPECT_EQ(out.substr(out.size() - file), file_name) << title << " " << folder << " " << file;
                    EXPECT_EQ(out[out.size() - file - 1], '/');
                } else {
                    EXPECT_EQ(out, "..." + file_name.substr(file - 77));
                }
            }
        }
    }
    // A cut never splits a character of a UTF-8 name.
    std::string umlauts;
    for (int i = 0; i < 50; ++i) {
        umlauts += "\xC3\xBC";
    }
    const std::string cut = LONG_TITLE("", path_of(10, umlauts));
    EXPECT_LE(cut.size(), 80u);
    EXPECT_EQ(cut.substr(0, 3), "...");
    EXPECT_EQ(static_cast<unsigned char>(cut[3]), 0xC3u);
}
