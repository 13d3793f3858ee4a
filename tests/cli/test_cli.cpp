#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli.h"
#include "json_writer.h"
#include "support/files.h"
#include "support/temp_folder.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

std::string read_bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun r;
    r.code = cli::run_cli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

class CliInfo : public ::testing::Test {
protected:
    fs::path write(const std::string& name, const std::string& text) {
        const fs::path p = fs::temp_directory_path() / ("vorelbox_cli_" + name);
        std::ofstream(p, std::ios::binary) << text;
        written_.push_back(p);
        return p;
    }
    void TearDown() override {
        for (const auto& p : written_) {
            fs::remove(p);
        }
    }

private:
    std::vector<fs::path> written_;
};

}  // namespace

TEST_F(CliInfo, ReportsEverySpectrum) {
    const auto p = write("two.dat", "first  \n       1       9       3\n\nsecond\n       4       5       6\n");
    const CliRun r = run({"info", p.string()});
    EXPECT_EQ(r.code, cli::CLI_OK);
    EXPECT_EQ(r.out, "{\"file\":" + common::json_string(p.string()) +
                         ",\"type\":\"Dat\",\"type_text\":\"Vorelix (dat)\",\"channels\":3,\"spectra\":2,"
                         "\"format\":\"(3i8)\",\"description\":\"first\",\"headers\":[\"first\",\"second\"],\"sums\":[13,15],"
                         "\"peaks\":[[2,9],[3,6]],\"messages\":[]}\n");
}

TEST_F(CliInfo, FilesNamedWithoutAKnownKindAreReadAsNative) {
    const auto p = write("plain.txt", "a header\n1 2 3\n4 5 6\n");
    const CliRun r = run({"info", p.string()});
    EXPECT_EQ(r.code, cli::CLI_OK);
    EXPECT_NE(r.out.find("\"type\":\"Dat\",\"type_text\":\"Vorelix (dat)\",\"channels\":6"), std::string::npos) << r.out;
}

TEST_F(CliInfo, CountsAndMessagesOnRequest) {
    const auto p = write("short.dat", "a\n1 2\n3 4\nb\n7 8\n9\n");
    const CliRun r = run({"info", "--counts", p.string()});
    EXPECT_EQ(r.code, cli::CLI_OK);
    EXPECT_NE(r.out.find("\"counts\":[[1,2,3,4],[7,8,9,0]]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"messages\":[\"The last spectrum in the file is shorter (3 channels)\\n"
                         "than the first (4 channels) - it will be padded by 0'es)\"]"),
              std::string::npos)
        << r.out;
}

TEST_F(CliInfo, AnswerDecidesTheRepairQuestion) {
    const auto p = write("repair.dat", "a\n1 2\n3 4\nb\n5 6\nc\n7 8\n9 1\n");
    const CliRun no = run({"info", p.string()});
    EXPECT_EQ(no.code, cli::CLI_FAILED);
    EXPECT_NE(no.out.find("\"spectra\":0"), std::string::npos);
    EXPECT_NE(no.out.find("Shall I repair the spectrum?"), std::string::npos);

    const CliRun yes = run({"info", "--answer", "yes", p.string()});
    EXPECT_EQ(yes.code, cli::CLI_OK);
    EXPECT_NE(yes.out.find("\"headers\":[\"a\",\"b\",\"c\"]"), std::string::npos) << yes.out;
    EXPECT_NE(yes.out.find("\"sums\":[10,11,25]"), std::string::npos) << yes.out;
}

TEST_F(CliInfo, FailuresGiveJsonAndExitCodes) {
    const CliRun missing = run({"info", "/nonexistent/vorelbox.dat"});
    EXPECT_EQ(missing.code, cli::CLI_FAILED);
    EXPECT_NE(missing.out.find("\"spectra\":0"), std::string::npos);
    EXPECT_NE(missing.out.find("\"messages\":[\"Error opening the file: /nonexistent/vorelbox.dat\"]"),
              std::string::npos)
        << missing.out;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"info"}, {"info", "--answer", "maybe", "x"}, {"info", "--bogus", "x"},
          {"frobnicate"}, {"info", "a", "b"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, cli::CLI_USAGE);
        EXPECT_EQ(r.out.rfind("{\"error\":", 0), 0u) << r.out;
        EXPECT_FALSE(r.err.empty());
    }
}

// FIFOs: test_cli_posix.cpp.

TEST(JsonString, EscapesAndRepairsEncoding) {
    EXPECT_EQ(common::json_string("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\nd\\u0001\"");
    EXPECT_EQ(common::json_string("\xC2\xB5s"), "\"\xC2\xB5s\"");  // UTF-8 stays
    EXPECT_EQ(common::json_string("\xB5s"), "\"\xC2\xB5s\"");      // Latin-1 becomes UTF-8
    EXPECT_EQ(common::json_number(16777217.0), "16777217");
    EXPECT_EQ(common::json_number(2.25), "2.25");
}

TEST_F(CliInfo, ForeignKindsCarryTheirAcquisitionData) {
    const std::string real = VORELBOX_REAL_DATA;
    const CliRun chn = run({"info", real + "/AH20190131_Na22_10cm_IDM4.Chn"});
    EXPECT_EQ(chn.code, cli::CLI_OK);
    EXPECT_NE(chn.out.find("\"type\":\"Che\",\"type_text\":\"Maestro (chn)\",\"channels\":16384"), std::string::npos);
    EXPECT_NE(chn.out.find("\"acquisition\":{\"detector_number\":14,\"segment_number\":1,\"date\":\"31Jan 2019\","
                           "\"start_time\":\"15:17:20\",\"real_time_s\":2905.32,\"live_time_s\":2882.32,"
                           "\"detector\":\"IDM-200-V-4\",\"energy_calibration\":[0.1488,0.1829,0],"
                           "\"peak_shape_calibration\":[5.4243,0.0011]}"),
              std::string::npos)
        << chn.out;

    const CliRun spe = run({"info", real + "/AH20190131_Na22_10cm_IDM4.Spe"});
    EXPECT_NE(spe.out.find("\"description\":\"No sample description was entered.\""), std::string::npos);
    EXPECT_NE(spe.out.find("\"date_and_time\":\"01/31/2019 15:17:20\""), std::string::npos);
    EXPECT_NE(spe.out.find("\"messages\":[\"More to come\"]"), std::string::npos) << spe.out;
}

TEST_F(CliInfo, ConvertWritesNativeCopiesAndReportsFailures) {
    const auto dir = fs::temp_directory_path() / "vorelbox_cli_convert";
    fs::create_directories(dir);
    const auto good = write("good.spe", "$SPEC_ID:\nx\n$DATA:\n0 1\n5 6\n");
    const auto bad = write("bad.chn", "not a maestro file at all, far too short");
    const CliRun ok = run({"convert", "--output-dir", dir.string(), good.string()});
    EXPECT_EQ(ok.code, cli::CLI_OK);
    EXPECT_EQ(ok.out, (dir / "vorelbox_cli_good.dat").string() + "\n");
    EXPECT_TRUE(fs::exists(dir / "vorelbox_cli_good.dat"));

    const CliRun mixed = run({"convert", "--output-dir", dir.string(), good.string(), bad.string()});
    EXPECT_EQ(mixed.code, cli::CLI_FAILED);
    EXPECT_NE(mixed.err.find("Illegal Maestro .chn file"), std::string::npos) << mixed.err;
    EXPECT_EQ(run({"convert"}).code, cli::CLI_USAGE);
    fs::remove_all(dir);
}

TEST_F(CliInfo, SumWritesWhatSaveSpectraWrites) {
    const auto data = write("sum_data.dat", "first\n       1       2       3\nsecond\n      10      20 2147483647\n");
    const auto list = write("sum.vsl", "VORELIX SPECTRUM LIST 3, channels\nfirst|1|" + data.string() + "\nsecond|2|" +
                                           data.string() + "\n");
    const auto out = fs::temp_directory_path() / "vorelbox_cli_sum_out.dat";
    const CliRun both = run({"sum", list.string(), "--mode", "both", "-o", out.string(), "--label", "total"});
    EXPECT_EQ(both.code, cli::CLI_OK) << both.out;
    EXPECT_EQ(read_bytes(out), support::system_text("first\n          1          2          3\nsecond\n         10"
                                                    "         20 2147483647\ntotal\n         11         22 2147483650\n"));
    EXPECT_NE(both.out.find("\"format\":\"(7i11)\""), std::string::npos) << both.out;

    const CliRun labelled = run({"sum", list.string(), "--mode", "sum", "-o", out.string()});
    EXPECT_NE(labelled.out.find("\"label\":\"VORELIX SUM SPECTRUM: 3, channels "), std::string::npos) << labelled.out;
    fs::remove(out);

    const auto broken = write("broken.vsl", "VORELIX SPECTRUM LIST 3, channels\nfirst|1|" + data.string() +
                                                "\ngone|1|/nonexistent/vorelbox/gone.dat\n");
    const CliRun missing = run({"sum", broken.string(), "--mode", "both", "-o", out.string()});
    EXPECT_EQ(missing.code, cli::CLI_FAILED);
    EXPECT_NE(missing.out.find("row 2 names a spectrum file that does not exist: /nonexistent/vorelbox/gone.dat"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run({"sum", list.string(), "--mode", "all", "-o", out.string()}).code, cli::CLI_USAGE);
}

TEST_F(CliInfo, ConvertLeavesAnotherFileOfTheCopysNameUnlessForced) {
    const auto dir = fs::temp_directory_path() / "vorelbox_cli_convert_keep";
    fs::create_directories(dir);
    const auto source = write("keep.spe", "$SPEC_ID:\nx\n$DATA:\n0 1\n5 6\n");
    const fs::path copy = dir / "vorelbox_cli_keep.dat";
    std::ofstream(copy, std::ios::binary) << "my own measurement\n       1       2\n";
    const CliRun refused = run({"convert", "--output-dir", dir.string(), source.string()});
    EXPECT_EQ(refused.code, cli::CLI_FAILED);
    EXPECT_EQ(refused.err, source.string() + ": " + copy.string() +
                               " exists and holds another spectrum; it is left as it is (--force replaces it)\n");
    EXPECT_EQ(read_bytes(copy), "my own measurement\n       1       2\n");

    EXPECT_EQ(run({"convert", "--force", "--output-dir", dir.string(), source.string()}).code, cli::CLI_OK);
    // The same copy again is no conflict.
    const CliRun again = run({"convert", "--output-dir", dir.string(), source.string()});
    EXPECT_EQ(again.code, cli::CLI_OK) << again.err;
    EXPECT_EQ(again.out, copy.string() + "\n");
    fs::remove_all(dir);
}

TEST_F(CliInfo, SumRefusesAFileOfMoreThan100Spectra) {
    std::ostringstream text;
    std::ostringstream rows;
    rows << "VORELIX SPECTRUM LIST 2, channels\n";
    const auto data = fs::temp_directory_path() / "vorelbox_cli_hundred.dat";
    for (int k = 1; k <= 100; ++k) {
        text << 's' << k << "\n       1       2\n";
        rows << 's' << k << '|' << k << '|' << data.string() << '\n';
    }
    write("hundred.dat", text.str());
    const auto list = write("hundred.vsl", rows.str());
    const auto out = fs::temp_directory_path() / "vorelbox_cli_hundred_out.dat";
    const CliRun both = run({"sum", list.string(), "--mode", "both", "-o", out.string()});
    EXPECT_EQ(both.code, cli::CLI_FAILED);
    EXPECT_EQ(both.err, "vorelbox-cli sum: A spectrum file holds at most 100 spectra - the list and its sum make 101\n");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run({"sum", list.string(), "--mode", "spectra", "-o", out.string()}).code, cli::CLI_OK);
    fs::remove(out);
}

TEST_F(CliInfo, ExtractAppendsOnlyToSpectraOfTheSameLength) {
    const auto source = write("append_src.dat", "three\n       1       2       3\n");
    const auto target = write("append_dst.dat", "two\n       7       8\n");
    const CliRun refused = run({"extract", source.string(), "--append", "-o", target.string()});
    EXPECT_EQ(refused.code, cli::CLI_FAILED);
    EXPECT_EQ(refused.err, "vorelbox-cli extract: The spectra in " + target.string() +
                               " have 2 channels, the spectrum to append has 3 channels; nothing is appended "
                               "(--force appends anyway)\n");
    EXPECT_EQ(run({"extract", source.string(), "--last", "2", "--append", "-o", target.string()}).code, cli::CLI_OK);
    EXPECT_EQ(run({"extract", source.string(), "--append", "--force", "-o", target.string()}).code, cli::CLI_OK);
}

// The 67-byte list whose row names "/tmp/vorelbox1/c.chn", a NUL, then "/x.chn"
// used to make `sum` spin for ever once /tmp/vorelbox1/c.chn existed.
TEST_F(CliInfo, SumRefusesARowWhoseNameHoldsANul) {
    const fs::path folder = "/tmp/vorelbox1";
    fs::create_directories(folder);
    support::copy_writable(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.Chn", folder / "c.chn");
    const std::string list = std::string(VORELBOX_TEST_DATA) + "/nul_in_row_name.vsl";
    ASSERT_EQ(fs::file_size(list), 67u);
    const auto out = fs::temp_directory_path() / ("vorelbox_cli_nul_out_" + std::to_string(::getpid()) + ".dat");
    const CliRun r = run({"sum", list, "--mode", "sum", "-o", out.string()});
    EXPECT_EQ(r.code, cli::CLI_FAILED);
    EXPECT_NE(r.out.find("row 1 names a spectrum file with a control character in its name: "
                         "/tmp/vorelbox1/c.chn\\\\x00/x.chn"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(folder / "c.dat"));
    fs::remove(folder / "c.chn");
}

TEST_F(CliInfo, FileNamesWithControlCharactersAreUsageErrors) {
    const auto data = write("names.dat", "first\n       1       2       3\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", data.string() + "\n"},
          {"extract", data.string(), "-o", "/tmp/vorelbox_cli_out\t.dat"},
          {"sum", "list\x01.vsl", "--mode", "sum", "-o", "out.dat"},
          {"column", "in\r.txt", "-o", "out.dat"},
          {"convert", "x\x1b.chn"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, cli::CLI_USAGE) << args.front();
        EXPECT_NE(r.err.find("holds a control character"), std::string::npos) << r.err;
    }
}

// Extract and append onto a file, and not onto a read-only file: that is
// refused with a non-zero exit code. Through links and onto kept permission
// bits: test_cli_posix.cpp.
TEST_F(CliInfo, ExtractAppendsAndRefusesReadOnlyFiles) {
    const auto data = write("readonly.dat", "first\n       1       2       3\n");
    const support::TempFolder dir("vorelbox_cli_readonly_");
    const fs::path target = dir / "target.dat";
    std::ofstream(target, std::ios::binary) << "old\n       7       8       9\n";

    const CliRun appended = run({"extract", data.string(), "--append", "-o", target.string()});
    EXPECT_EQ(appended.code, cli::CLI_OK) << appended.out;
    EXPECT_NE(appended.out.find("\"appended\":true"), std::string::npos);
    const std::string text = read_bytes(target);
    EXPECT_EQ(text, "old\n       7       8       9\n" + support::system_text("first\n         1         2         3\n"));

    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    for (const bool append : {true, false}) {
        std::vector<std::string> args{"extract", data.string(), "-o", target.string()};
        if (append) {
            args.push_back("--append");
        }
        const CliRun refused = run(args);
        EXPECT_EQ(refused.code, cli::CLI_FAILED);
        EXPECT_NE(refused.out.find("\"appended\":false"), std::string::npos);
        EXPECT_NE(refused.out.find("The file is read-only; the file was not changed"), std::string::npos)
            << refused.out;
    }
    EXPECT_EQ(read_bytes(target), text);
}

TEST_F(CliInfo, OtherInstrumentsFilesThroughInfoConvertExtractAndSum) {
    const std::string formats = VORELBOX_FORMATS_DATA;
    const CliRun cnf = run({"info", formats + "/LaBr.CNF"});
    EXPECT_EQ(cnf.code, cli::CLI_OK);
    EXPECT_NE(cnf.out.find("\"type\":\"Cnf\",\"type_text\":\"Canberra (cnf)\",\"channels\":1024,\"spectra\":1"),
              std::string::npos)
        << cnf.out;
    EXPECT_NE(cnf.out.find("\"sums\":[2180755]"), std::string::npos);
    EXPECT_NE(cnf.out.find("\"acquisition\":{\"format\":\"Canberra CNF\""), std::string::npos);
    EXPECT_NE(cnf.out.find("\"start\":\"2019-02-07 11:48:18\",\"real_time_s\":3403.67"), std::string::npos) << cnf.out;
    EXPECT_NE(cnf.out.find("\"spectra_in_file\":1}"), std::string::npos);

    const CliRun iec = run({"info", formats + "/hpge_dummy_test_04.iec"});
    EXPECT_NE(iec.out.find("\"calibration_points\":[[1465.035,1173.228],[1665.109,1332.492],[500,400]]"),
              std::string::npos)
        << iec.out;

    // Eight detectors of a portal: convert writes them all, extract takes one.
    const auto dir = fs::temp_directory_path() / "vorelbox_cli_other_instruments";
    support::remove_folder(dir);
    fs::create_directories(dir);
    const CliRun convert = run({"convert", "--output-dir", dir.string(), formats + "/ba133_source_640s_20100317.n42"});
    EXPECT_EQ(convert.code, cli::CLI_OK) << convert.err;
    const CliRun copy = run({"info", (dir / "ba133_source_640s_20100317.dat").string()});
    EXPECT_NE(copy.out.find("\"type\":\"Dat\""), std::string::npos);
    EXPECT_NE(copy.out.find("\"channels\":16384,\"spectra\":8"), std::string::npos) << copy.out;
    EXPECT_NE(copy.out.find("\"sums\":[305570,"), std::string::npos);
    const auto b4 = dir / "b4.dat";
    const CliRun extract =
        run({"extract", formats + "/ba133_source_640s_20100317.n42", "--spectrum", "8", "-o", b4.string()});
    EXPECT_EQ(extract.code, cli::CLI_OK) << extract.out << extract.err;
    EXPECT_NE(run({"info", b4.string()}).out.find("\"headers\":[\"B4 - 2010-04-17T17:33:19.409Z\"],\"sums\":[222175]"),
              std::string::npos);

    // A list of a CNF and a TKA file of the same measurement sums to twice its counts.
    support::copy_writable(formats + "/LaBr.CNF", dir / "labr.cnf");
    support::copy_writable(formats + "/LaBr.TKA", dir / "labr2.tka");
    const auto list = write("other.vsl", "VORELIX SPECTRUM LIST 1024, channels\ncnf|1|" + (dir / "labr.cnf").string() +
                                             "\ntka|1|" + (dir / "labr2.tka").string() + "\n");
    const auto sum = dir / "sum.dat";
    const CliRun summed = run({"sum", list.string(), "--mode", "sum", "-o", sum.string(), "--label", "both"});
    EXPECT_EQ(summed.code, cli::CLI_OK) << summed.out;
    EXPECT_NE(run({"info", sum.string()}).out.find("\"sums\":[4361510]"), std::string::npos);
    support::remove_folder(dir);
}
