// The other instruments' files in the formats test folder, read through the
// identification and through the native copy. The expected numbers come from a
// separate reader written for the purpose (Python: struct for CNF, ElementTree
// for N42, plain text splitting for the rest), not from this program.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>

#include "check_spectrum_file.h"
#include "convert_spectrum_file.h"
#include "fakes/scripted_ui.h"
#include "foreign_formats.h"
#include "load_spectrum_file.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

const fs::path formats = VORELBOX_FORMATS_DATA;
const std::string falcon = "01122014152731-GT01122014182338-GA37.4963000N-GO122.4633000W";

struct Expected {
    const char* file;
    const char* type;
    int channels;
    int spectra;       // read: at most 100
    double first_sum;  // spectrum 1
    double total;      // over the spectra read
    int peak_channel;  // 1-based, spectrum 1
    double peak;
    double live;  // spectrum 1; -1 when the file holds none
    double real;
};

const Expected expected[] = {
    {"01122014152731-GT01122014182338-GA37.4963000N-GO122.4633000W.cnf", "Cnf", 4096, 1, 683658, 683658, 333, 3357, 841.42, 849.51},
    {"01122014152731-GT01122014182338-GA37.4963000N-GO122.4633000W.n42", "N42", 4096, 1, 683658, 683658, 334, 3357, 841.42, 849.51},
    {"20241217_111314_25kV_40uA_Alwin1_0pt2mm_unfilt1.mca", "Mca", 2048, 1, 2681855, 2681855, 908, 21411, 898.127957, 898.937},
    {"2025-11-11_17-43-19-121196.cnf", "Cnf", 4096, 1, 31320, 31320, 100, 172, 0, 0},
    {"Alcatraz14.n42", "N42", 8192, 1, 132978, 132978, 44, 296, 900, 905.42},
    {"BEGe.CNF", "Cnf", 8192, 1, 1559896, 1559896, 389, 10158, 584159.16, 584246.58},
    {"LaBr.CNF", "Cnf", 1024, 1, 2180755, 2180755, 35, 31337, 3385.54, 3403.67},
    {"LaBr.TKA", "Tka", 1024, 1, 2180755, 2180755, 35, 31337, 3385.54, 3403.67},
    {"Q345_Racetrack.n42", "N42", 1024, 100, 5034, 533652, 1024, 110, 0.999492, 0.99999},
    {"Q8910_Helicopter.N42", "N42", 1024, 81, 9828, 2769195, 22, 172, 0.999718, 0.999998},
    {"SGM102432.csv", "Col", 4094, 1, 166239, 166239, 112, 707, -1, -1},
    {"ba133_source_640s_20100317.n42", "N42", 16384, 8, 305570, 2621142, 431, 4481, 629.17, 639.92},
    {"demoNoCal.mca", "Mca", 2048, 1, 96897, 96897, 13, 8927, 200, 200},
    {"detx_background.n42", "N42", 16384, 1, 24794, 24794, 490, 90, 300, 300.865173},
    {"hpge_dummy_test_01.iec", "Iec", 2048, 1, 74305419, 74305419, 1467, 1499345, 3564, 3600},
    {"hpge_dummy_test_02b.iec", "Iec", 2048, 1, 74305419, 74305419, 1467, 1499345, 3564, 3600},
    {"hpge_dummy_test_04.iec", "Iec", 2048, 1, 74305419, 74305419, 1467, 1499345, 3564, 3600},
    {"minix_20kV_15uA_sdd.mca", "Mca", 2048, 1, 65028866, 65028866, 204, 463456, 8994.994673, 9252.206},
};

struct Read {
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    fakes::ScriptedUi ui;
    spectra::CheckResult result;

    double sum(int k) const {
        const auto& c = store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
        return std::accumulate(c.begin(), c.begin() + result.channels, 0.0);
    }
    std::vector<double> counts(int k) const {
        const auto& c = store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
        return {c.begin(), c.begin() + result.channels};
    }
};

std::unique_ptr<Read> read(const std::string& name) {
    auto r = std::make_unique<Read>();
    r->result = spectra::CHECK_SPECTRUM_FILE(r->store, r->files, r->ui, (formats / name).string());
    return r;
}

void expect_time(const std::optional<double>& seconds, double expected, const std::string& what) {
    if (expected < 0) {
        EXPECT_FALSE(seconds) << what;
        return;
    }
    ASSERT_TRUE(seconds) << what;
    EXPECT_NEAR(*seconds, expected, 1e-6 * std::max(1.0, expected)) << what;
}

class ForeignCopies : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_foreign_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

}  // namespace

TEST(ForeignFiles, EveryFileReadsWithTheCountsAndTimesOfAnIndependentReader) {
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.file);
        const auto r = read(e.file);
        EXPECT_EQ(r->result.type_code, e.type);
        ASSERT_EQ(r->result.channels, e.channels);
        ASSERT_EQ(r->result.spectra, e.spectra);
        EXPECT_TRUE(r->result.converted);
        EXPECT_DOUBLE_EQ(r->sum(1), e.first_sum);
        double total = 0;
        for (int k = 1; k <= e.spectra; ++k) {
            total += r->sum(k);
        }
        EXPECT_DOUBLE_EQ(total, e.total);
        const auto first = r->counts(1);
        const auto peak = std::max_element(first.begin(), first.end());
        EXPECT_EQ(peak - first.begin() + 1, e.peak_channel);
        EXPECT_DOUBLE_EQ(*peak, e.peak);
        EXPECT_EQ(std::accumulate(r->store.CURRENT_SPECTRUM.begin(),
                                  r->store.CURRENT_SPECTRUM.begin() + e.channels, 0.0),
                  e.first_sum);
        ASSERT_TRUE(r->result.foreign);
        expect_time(r->result.foreign->live_time, e.live, "live time");
        expect_time(r->result.foreign->real_time, e.real, "real time");
    }
}

TEST(ForeignFiles, TheSameMeasurementInTwoFormatsGivesTheSameCounts) {
    // The TKA file is the CNF's channel array with the times in channels 1 and 2
    // (both 0 in the CNF).
    const auto cnf = read("LaBr.CNF");
    const auto tka = read("LaBr.TKA");
    EXPECT_EQ(cnf->counts(1), tka->counts(1));
    EXPECT_EQ(cnf->result.foreign->live_time, tka->result.foreign->live_time);

    // PeakEasy wrote the N42 one channel further up: CNF channel k is N42 channel
    // k + 1, and the CNF's last channel (0) has no place.
    const auto falcon_cnf = read(falcon + ".cnf");
    const auto falcon_n42 = read(falcon + ".n42");
    const auto a = falcon_cnf->counts(1);
    const auto b = falcon_n42->counts(1);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(b.front(), 0);
    EXPECT_EQ(a.back(), 0);
    EXPECT_TRUE(std::equal(a.begin(), a.end() - 1, b.begin() + 1));
    // Both hold the same energy calibration, to the precision the N42 writes.
    const auto& e_cnf = falcon_cnf->result.foreign->energy;
    const auto& e_n42 = falcon_n42->result.foreign->energy;
    ASSERT_GE(e_cnf.size(), 2u);
    ASSERT_GE(e_n42.size(), 2u);
    EXPECT_NEAR(e_cnf[0], e_n42[0], 0.001);
    EXPECT_NEAR(e_cnf[1], e_n42[1], 1e-5);
}

TEST(ForeignFiles, AcquisitionFieldsOfEachKind) {
    const auto labr = read("LaBr.CNF");
    const spectra::AcquisitionPane& c = *labr->result.foreign;
    EXPECT_EQ(c.format, "Canberra CNF");
    EXPECT_EQ(c.start, "2019-02-07 11:48:18");
    EXPECT_NE(c.instrument.find("IN1K"), std::string::npos);
    EXPECT_NE(c.detector.find("Scionix2x2S"), std::string::npos);
    EXPECT_EQ(labr->result.type_text, "Canberra (cnf)");

    const auto ba = read("ba133_source_640s_20100317.n42");
    const spectra::AcquisitionPane& n = *ba->result.foreign;
    EXPECT_EQ(n.format, "ANSI N42.42-2006");
    EXPECT_EQ(n.spectra_in_file, 8);
    EXPECT_EQ(n.detector, "A1");
    EXPECT_EQ(ba->result.headers[7], "B4 - 2010-04-17T17:33:19.409Z");
    ASSERT_EQ(n.energy.size(), 3u);

    const auto minix = read("minix_20kV_15uA_sdd.mca");
    const spectra::AcquisitionPane& m = *minix->result.foreign;
    ASSERT_EQ(m.points.size(), 4u);
    EXPECT_DOUBLE_EQ(m.points[0].first, 552.31);
    EXPECT_DOUBLE_EQ(m.points[0].second, 5.9);
    EXPECT_TRUE(read("demoNoCal.mca")->result.foreign->points.empty());

    // IEC: two dates or one, a named or blank system, a polynomial or pairs.
    const auto iec1 = read("hpge_dummy_test_01.iec");
    EXPECT_EQ(iec1->result.foreign->instrument, "NUCICA");
    EXPECT_EQ(iec1->result.foreign->start, "09/12/21 10:54:31");
    ASSERT_EQ(iec1->result.foreign->energy.size(), 4u);
    EXPECT_DOUBLE_EQ(iec1->result.foreign->energy[1], 0.8);
    EXPECT_DOUBLE_EQ(iec1->result.foreign->energy[2], -2.97939e-08);
    const auto iec2 = read("hpge_dummy_test_02b.iec");
    EXPECT_EQ(iec2->result.foreign->instrument, "");
    EXPECT_EQ(iec2->result.foreign->detector, "HPGE");
    const auto iec4 = read("hpge_dummy_test_04.iec");
    EXPECT_TRUE(iec4->result.foreign->energy.empty());
    ASSERT_EQ(iec4->result.foreign->points.size(), 3u);
    EXPECT_DOUBLE_EQ(iec4->result.foreign->points[0].first, 1465.035);
    EXPECT_DOUBLE_EQ(iec4->result.foreign->points[0].second, 1173.228);
}

TEST(ForeignFiles, SpectraBeyondAHundredAreLeftOutAndTheUserIsTold) {
    const auto r = read("Q345_Racetrack.n42");
    EXPECT_EQ(r->result.spectra, 100);
    EXPECT_EQ(r->result.foreign->spectra_in_file, 153);
    ASSERT_EQ(r->ui.texts().size(), 1u);
    EXPECT_NE(r->ui.texts()[0].find("the first 100 are read, 53 are left out"), std::string::npos);
}

TEST_F(ForeignCopies, NativeCopiesReadBackAsTheSameSpectra) {
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.file);
        fakes::ScriptedUi ui;
        spectra::RawFileTable files;
        const auto source = (formats / e.file).string();
        const spectra::ConvertResult c =
            spectra::CONVERT_SPECTRUM_FILE(files, ui, source, dir_.string(), spectra::ExistingFile::Replace);
        ASSERT_TRUE(c.written);
        EXPECT_EQ(c.target, spectra::native_copy_name(source, dir_.string()));
        const auto original = read(e.file);
        spectra::SpectrumStore copy;
        ASSERT_EQ(spectra::LOAD_SPECTRUM_FILE(copy, ui, c.target).channel_count, e.channels);
        ASSERT_EQ(copy.FILE_SPECTRUM_COUNT, e.spectra);
        for (int k = 1; k <= e.spectra; ++k) {
            const auto& column = copy.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
            EXPECT_EQ(std::vector<double>(column.begin(), column.begin() + e.channels), original->counts(k));
            EXPECT_EQ(copy.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(k - 1)],
                      original->result.headers[static_cast<std::size_t>(k - 1)]);
        }
        // Converting again finds the same spectra there and asks nothing.
        fakes::ScriptedUi again;
        EXPECT_TRUE(spectra::CONVERT_SPECTRUM_FILE(files, again, source, dir_.string()).written);
        EXPECT_TRUE(again.requests().empty() || again.requests().front().buttons.size() <= 1);
    }
}

TEST_F(ForeignCopies, ADifferentFileOfTheCopysNameIsReplacedOnlyWhenTheUserAgrees) {
    const auto source = (formats / "LaBr.TKA").string();
    const fs::path target = dir_ / "LaBr.dat";
    {
        std::ofstream(target) << "My own measurement\n1 2 3 4\n";
    }
    fakes::ScriptedUi ui;
    spectra::RawFileTable files;
    ui.answer_no();
    const auto kept = spectra::CONVERT_SPECTRUM_FILE(files, ui, source, dir_.string());
    EXPECT_TRUE(kept.kept_existing);
    EXPECT_FALSE(kept.written);
    {
        std::ifstream in(target);
        std::string first_line;
        std::getline(in, first_line);
        EXPECT_EQ(first_line, "My own measurement");
    }
    EXPECT_TRUE(spectra::CONVERT_SPECTRUM_FILE(files, ui, source, dir_.string(), spectra::ExistingFile::Keep)
                    .kept_existing);
    EXPECT_TRUE(spectra::CONVERT_SPECTRUM_FILE(files, ui, source, dir_.string(), spectra::ExistingFile::Replace)
                    .written);
}
