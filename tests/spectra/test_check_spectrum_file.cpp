#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "check_spectrum_file.h"
#include "fakes/scripted_ui.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

struct Checked {
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    fakes::ScriptedUi ui;
    spectra::CheckResult result;
    double sum() const {
        const auto& c = store.FILE_SPECTRA[0];
        return std::accumulate(c.begin(), c.begin() + result.channels, 0.0);
    }
};

std::unique_ptr<Checked> check(const fs::path& path) {
    auto c = std::make_unique<Checked>();
    c->result = spectra::CHECK_SPECTRUM_FILE(c->store, c->files, c->ui, path.string());
    return c;
}

class TempFiles : public ::testing::Test {
protected:
    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vorelbox_check_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// A Maestro file in memory.
struct ChnBuilder {
    std::string date = "05Jan191";
    std::int16_t type = -1;
    std::int16_t trailer = -102;
    std::int16_t channels = 4;
    std::vector<std::int32_t> counts{10, 200, 3000, 7};
    std::string sample = "Positron source";

    template <typename T>
    static void put(std::string& out, T v) {
        char b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));  // the test machine is little-endian, as the files are
        out.append(b, sizeof(T));
    }
    std::string bytes() const {
        std::string out;
        put<std::int16_t>(out, type);
        put<std::int16_t>(out, 3);   // detector
        put<std::int16_t>(out, 1);   // segment
        out += "42";                 // seconds
        put<std::int32_t>(out, 150000);  // real time: 3000 s
        put<std::int32_t>(out, 149000);  // live time: 2980 s
        out += date;
        out += "0907";
        put<std::int16_t>(out, 0);
        put<std::int16_t>(out, channels);
        for (const auto c : counts) {
            put<std::int32_t>(out, c);
        }
        std::string tail(512, '\0');
        tail[0] = static_cast<char>(trailer & 0xFF);
        tail[1] = static_cast<char>((trailer >> 8) & 0xFF);
        const float cal[5] = {0.5f, 0.25f, 0.0f, 1.5f, 0.001f};
        std::memcpy(&tail[4], cal, sizeof cal);
        tail[256] = 5;
        std::memcpy(&tail[257], "HPGe1", 5);
        tail[320] = static_cast<char>(sample.size());
        std::memcpy(&tail[321], sample.data(), sample.size());
        return out + tail;
    }
};

}  // namespace

// Channel counts and sums from an independent reader of the same files.
TEST(RealInstrumentFiles, EveryFileIsIdentifiedAndRead) {
    struct Expected {
        const char* file;
        const char* type;
        int channels;
        double sum;
    };
    const Expected expected[] = {
        {"01122014152731-GT01122014182338-GA37.4963000N-GO122.4633000W.spe", "Spe", 4096, 683658},
        {"01122014152731-GT01122014182338-GA37.CHN", "Che", 4096, 683658},
        {"1110C NAA cave pottery.CHN", "Che", 16384, 304706},
        {"1110C NAA cave pottery.Spe", "Spe", 16384, 304706},
        {"AH20190131_Na22_10cm_IDM4 (copy).Chn", "Che", 16384, 580482},
        {"AH20190131_Na22_10cm_IDM4.Chn", "Che", 16384, 580482},
        {"AH20190131_Na22_10cm_IDM4.Spe", "Spe", 16384, 580482},
        {"Alcatraz14.CHN", "Che", 8192, 132978},
        {"Alcatraz14.spe", "Spe", 8192, 132978},
        {"CCI0501-I.Chn", "Che", 4096, 255311},
        {"Cs137SMALL.Chn", "Che", 4096, 523753},
        {"Cs137SMALL.spe", "Spe", 4096, 523753},
        {"Ex_pyconverted.chn", "Che", 16384, 67890},
        {"Mendocino_07-10-13_Acq-10-10-13.Spe", "Spe", 8192, 2279915},
        {"Nievenheim_DORNIE_1.spe", "Spe", 1024, 764745},
        {"SGM102432.spe", "Spe", 4094, 166239},
        {"SI06122.Chn", "Che", 4096, 548003},
        {"digibase_5min_30_1.spe", "Spe", 1024, 892301},
        {"eu_calib_7cm.Chn", "Che", 16384, 4433622},
        {"gv_format_spect.spe", "Spe", 1024, 256038},
        {"gv_format_spect2.spe", "Spe", 2048, 164554},
        {"maricsmall.chn", "Che", 4096, 630926550},
        {"mix2neqref.spe", "Spe", 4096, 0},
        {"nai_detector.spe", "Spe", 1001, 398163},
    };
    const fs::path dir(VORELBOX_REAL_DATA);
    ASSERT_TRUE(fs::is_directory(dir)) << "real instrument files missing: " << dir;
    for (const auto& e : expected) {
        auto c = check(dir / e.file);
        EXPECT_EQ(c->result.type_code, e.type) << e.file;
        EXPECT_EQ(c->result.channels, e.channels) << e.file;
        EXPECT_EQ(c->result.spectra, 1) << e.file;
        EXPECT_EQ(c->sum(), e.sum) << e.file;
    }
    // A binary file with the .spe extension is refused.
    auto binary = check(dir / "AH20190131_Na22_10cm_IDM4 (copy).spe");
    EXPECT_EQ(binary->result.channels, 0);
    EXPECT_EQ(binary->result.type_text, "Unidentified");
    ASSERT_EQ(binary->ui.texts().size(), 1u);
    EXPECT_EQ(binary->ui.texts()[0].rfind("Unexpected line: ", 0), 0u);
}

TEST(RealInstrumentFiles, MaestroPaneOfARealFile) {
    auto c = check(fs::path(VORELBOX_REAL_DATA) / "AH20190131_Na22_10cm_IDM4.Chn");
    ASSERT_TRUE(c->result.maestro);
    const auto& p = *c->result.maestro;
    EXPECT_EQ(p.detector_number, 14);
    EXPECT_EQ(p.date, "31Jan 2019");
    EXPECT_EQ(p.start_time, "15:17:20");
    EXPECT_EQ(p.detector, "IDM-200-V-4");
    EXPECT_EQ(p.energy[1], "0.1829");
    EXPECT_EQ(c->ui.status_history.front(), "Checking file [AH20190131_Na22_10cm_IDM4.Chn]");
    EXPECT_EQ(c->ui.status_history.back(), "Maestro file [AH20190131_Na22_10cm_IDM4.Chn");
}

TEST_F(TempFiles, MaestroFieldsDatesAndUpperCaseExtension) {
    ChnBuilder b;
    auto c = check(write("run.CHN", b.bytes()));
    ASSERT_EQ(c->result.type_text, "Maestro (chn)");
    EXPECT_EQ(c->result.channels, 4);
    EXPECT_EQ(c->store.FILE_SPECTRA[0][2], 3000.0);
    EXPECT_EQ(c->store.CURRENT_SPECTRUM[1], 200.0);
    EXPECT_TRUE(c->store.CURRENT_LOG_SPECTRUM.empty());  // taken only when a plot reads it
    EXPECT_NEAR(log_spectrum(c->store, 2, 2)[0], std::log10(200.0), 1e-12);
    EXPECT_EQ(c->store.RAW_COUNTS, (std::vector<std::int32_t>{10, 200, 3000, 7}));
    const auto& p = *c->result.maestro;
    EXPECT_EQ(p.date, " 5Jan 2019");
    EXPECT_EQ(p.start_time, "09:07:42");
    EXPECT_EQ(p.real_time, "3000.00");
    EXPECT_EQ(p.live_time, "2980.00");
    EXPECT_EQ(p.energy[0], "0.5000");
    EXPECT_EQ(p.shape[0], "1.5000");
    EXPECT_EQ(p.detector, "HPGe1");
    EXPECT_EQ(c->result.description, "Positron source");
    EXPECT_EQ(c->result.header, "Positron source -  5Jan 2019 09:07:42");

    b.date = "05Jan990";
    EXPECT_EQ(check(write("old.chn", b.bytes()))->result.maestro->date, " 5Jan 1999");
}

TEST_F(TempFiles, BytesAfterTheLongestMaestroTrailerAreNotRead) {
    ChnBuilder b;
    const std::string plain = b.bytes();
    // Far more than any .chn file holds, ending in what would be a bad trailer.
    std::string padded = plain + std::string(spectra::MAX_CHN_BYTES, 'x');
    auto c = check(write("long.chn", padded));
    ASSERT_EQ(c->result.channels, 4);
    EXPECT_TRUE(c->ui.texts().empty());
    EXPECT_EQ(c->store.RAW_COUNTS, (std::vector<std::int32_t>{10, 200, 3000, 7}));
    EXPECT_EQ(c->result.maestro->detector, "HPGe1");
    // A file cut inside its counts is still an error.
    auto cut = check(write("cut.chn", plain.substr(0, 40)));
    EXPECT_EQ(cut->result.channels, 0);
    ASSERT_EQ(cut->ui.texts().size(), 1u);
    EXPECT_EQ(cut->ui.texts()[0], "Error reading file: " + (dir_ / "cut.chn").string());
}

TEST_F(TempFiles, BrokenMaestroFilesAreReported) {
    ChnBuilder bad_type;
    bad_type.type = 7;
    ChnBuilder bad_tail;
    bad_tail.trailer = -100;
    ChnBuilder negative;
    negative.channels = -5;
    ChnBuilder lying;
    lying.channels = 30000;
    const std::pair<std::string, std::string> cases[] = {
        {bad_type.bytes(), "Illegal Maestro .chn file"},
        {bad_tail.bytes(), "Bad tail in Maestro .chn file"},
        {negative.bytes(), "Error reading file: "},
        {lying.bytes(), "Error reading file: "},
        {ChnBuilder{}.bytes().substr(0, 40), "Error reading file: "},
    };
    for (const auto& [bytes, text] : cases) {
        auto c = check(write("broken.chn", bytes));
        EXPECT_EQ(c->result.channels, 0) << text;
        ASSERT_EQ(c->ui.texts().size(), 1u) << text;
        EXPECT_EQ(c->ui.texts()[0].rfind(text, 0), 0u) << c->ui.texts()[0];
        EXPECT_EQ(c->store.CHANNEL_CAPACITY, 0) << "nothing is allocated for a broken file";
    }
    auto missing = check(dir_ / "none.chn");
    EXPECT_EQ(missing->ui.texts()[0], "Error opening the spectrum file: " + (dir_ / "none.chn").string());
}

TEST_F(TempFiles, TaggedSpeFieldsAndMessages) {
    const std::string text =
        "$SPEC_ID:\r\n\r\n$SPEC_REM:\r\nDET# 7\r\nDETDESC# Plastic\r\n$DATE_MEA:\r\n02/03/2020 10:11:12\r\n"
        "$MEAS_TIM:\r\n100 120\r\n$DATA:\r\n5 9\r\n1 2 3\r\n4 5\r\n$ROI:\r\n0\r\n$ENER_FIT:\r\n1.5 0.25\r\n"
        "$SHAPE_CAL:\r\n3\r\n1.0E+000 2.0E-003 0.0\r\n$STRANGE:\r\nx\r\n";
    auto c = check(write("s.Spe", text));
    ASSERT_EQ(c->result.type_code, "Spe");
    EXPECT_EQ(c->result.channels, 5);
    EXPECT_EQ(c->store.FILE_SPECTRA[0][4], 5.0);
    EXPECT_EQ(c->result.description, "No sample description was entered.");
    const auto& p = *c->result.spe;
    EXPECT_EQ(p.detector_number, "7");
    EXPECT_EQ(p.detector, "Plastic");
    EXPECT_EQ(p.date_and_time, "02/03/2020 10:11:12");
    EXPECT_EQ(p.live_time, "100.00");
    EXPECT_EQ(p.real_time, "120.00");
    EXPECT_EQ(p.factor_a, "1.5000");
    EXPECT_EQ(p.factor_b, "0.2500");
    EXPECT_EQ(p.factors, (std::vector<double>{1.0, 0.002, 0.0}));
    EXPECT_EQ(c->ui.texts(), (std::vector<std::string>{"Unexpected line: $STRANGE:"}));
    EXPECT_EQ(c->ui.status_history.back(), "Mirdal file [s.Spe] loaded");
}

TEST_F(TempFiles, SpeDataThatClaimsMoreThanItHolds) {
    const std::string lie = (dir_ / "lie.spe").string();
    const std::pair<const char*, std::string> cases[] = {
        {"0 20", "Error reading file: " + lie},
        {"9 3", "Error reading file: " + lie},
        {"a b", "Error reading file: " + lie},
        {"0 1e127", "Error reading file: " + lie},  // no integer holds the bound
        {"0.5 3", "Error reading file: " + lie},
        {"0 4000000000",
         "The spectrum file " + lie + " holds a spectrum of 4000000001 channels; at most 262144 channels can be read"},
    };
    for (const auto& [range, message] : cases) {
        auto c = check(write("lie.spe", std::string("$SPEC_ID:\nx\n$DATA:\n") + range + "\n1 2 3\n$ROI:\n"));
        EXPECT_EQ(c->result.channels, 0) << range;
        EXPECT_EQ(c->ui.texts(), std::vector<std::string>{message}) << range;
        EXPECT_EQ(c->store.CHANNEL_CAPACITY, 0);
    }
    // A file without a "$DATA:" section, or of no tags at all, says so too.
    for (const char* text : {"$SPEC_ID:\nonly a description\n", "", "\n \n"}) {
        auto c = check(write("nodata.spe", text));
        EXPECT_EQ(c->ui.texts(), std::vector<std::string>{"Error reading file: " + (dir_ / "nodata.spe").string()});
    }
}

// FIFOs: test_check_spectrum_file_posix.cpp.
TEST_F(TempFiles, HugeFilesAreRefusedWithAMessage) {
    // They may not fill the program's memory.
    for (const char* name : {"big.dat", "big.spe", "big.lmc"}) {
        const fs::path big = write(name, "");
        fs::resize_file(big, std::uintmax_t{1} << 31);
        auto c = check(big);
        EXPECT_EQ(c->ui.texts(), std::vector<std::string>{"The file " + big.string() +
                                                          " is too large to be read: 2147483648 bytes (at most 268435456)"});
        EXPECT_EQ(c->store.CHANNEL_CAPACITY, 0);
    }
}

TEST_F(TempFiles, TembraFilesInAnyCaseAndTheirFailures) {
    std::string counts;
    for (int i = 1; i <= 12; ++i) {
        char field[16];
        std::snprintf(field, sizeof field, "%7d", i == 3 ? 1234567 : i);
        counts += field;
        if (i % 10 == 0) {
            counts += "\r\n";
        }
    }
    const std::string tembra = "0 55 12\r\nsecond line\r\nfile    :run 4\r\nsample  :Kapton\r\nDate    :1.2.2003\r\n"
                               "e (kev) :511\r\ntemp    :293 K\r\ncomment :none\r\n1 2 3\r\n" + counts + "\r\n";
    auto c = check(write("t.dat", tembra));
    ASSERT_EQ(c->result.type_code, "Pos");
    EXPECT_EQ(c->result.type_text, "Tembra (dat)");
    EXPECT_EQ(c->result.channels, 12);
    EXPECT_EQ(c->store.FILE_SPECTRA[0][2], 1234567.0);
    EXPECT_EQ(c->store.FILE_SPECTRA[0][11], 12.0);
    EXPECT_EQ(c->result.tembra->sample, "Kapton");
    EXPECT_EQ(c->result.tembra->energy, "511");
    EXPECT_EQ(c->result.tembra->temp, "293 K");
    EXPECT_EQ(c->result.tembra_name, (dir_ / "t_tembra.dat").string());

    std::string unknown = tembra;
    unknown.replace(unknown.find("temp    "), 8, "pressure");
    EXPECT_EQ(check(write("u.dat", unknown))->ui.texts(), (std::vector<std::string>{"Unknown tembra tag: PRESSURE"}));

    std::string lying = tembra;
    lying.replace(0, 7, "0 55 200000");
    auto l = check(write("l.dat", lying));
    EXPECT_EQ(l->ui.texts(), (std::vector<std::string>{"Error to read: " + (dir_ / "l.dat").string()}));
    EXPECT_EQ(l->store.CHANNEL_CAPACITY, 0);
    lying.replace(0, 11, "0 55 2000000000");
    auto huge = check(write("h.dat", lying));
    EXPECT_EQ(huge->ui.texts(), (std::vector<std::string>{"The spectrum file " + (dir_ / "h.dat").string() +
                                                          " holds a spectrum of 2000000000 channels; at most 262144 "
                                                          "channels can be read"}));
    EXPECT_EQ(huge->store.CHANNEL_CAPACITY, 0);
}

TEST_F(TempFiles, ControlFilesWithAndWithoutTheirOwnSpectrum) {
    const std::string head = "Lumatrex control\nFIT DATA BLOCK\nsome line\nDATA: SPECTRUM\n";
    auto own = check(write("own.lmc", head + "5\nIntrinsic header\nnone.dat\n-\n1\n1 2 3\n4 5\nREST\n"));
    EXPECT_EQ(own->result.type_text, "Vorelix (intrinsic)");
    EXPECT_EQ(own->result.type_code, "Intrinsic");
    EXPECT_EQ(own->result.channels, 5);
    EXPECT_EQ(own->result.header, "Intrinsic header");
    EXPECT_EQ(own->store.FILE_SPECTRA[0][4], 5.0);

    write("named.dat", "Named spectrum\n1 2 3\n4 5 6\n");
    auto ref = check(write("ref.cvc", head + "6\nheader\nnamed.dat\n-\n0\n"));
    EXPECT_EQ(ref->ui.texts()[0], "The file does not contain an intrinsic spectrum\ropening " +
                                      (dir_ / "named.dat").string() + " in stead");
    EXPECT_EQ(ref->result.file_name, (dir_ / "named.dat").string());
    EXPECT_EQ(ref->result.type_code, "Dat");
    EXPECT_EQ(ref->result.channels, 6);

    EXPECT_EQ(check(write("short.lmc", head + "5\nheader\n"))->ui.texts(),
              (std::vector<std::string>{"The file is incomplete"}));
    EXPECT_EQ(check(write("none.lmc", "no block here\n"))->ui.texts(),
              (std::vector<std::string>{"The file is incomplete"}));
    EXPECT_EQ(check(write("bad.lmc", head + "5\nheader\nx\n-\n1\n1 2 x 4 5\n"))->ui.texts(),
              (std::vector<std::string>{"Error reading intrinsic spectrum"}));
    // Flags and channel counts written as reals too large for any integer.
    for (const char* flag : {"2e23", "-1e300", "1.5"}) {
        EXPECT_EQ(check(write("flag.lmc", head + "5\nheader\nx\n-\n" + flag + "\n1 2 3 4 5\n"))->ui.texts(),
                  (std::vector<std::string>{"Error reading intrinsic spectrum"}))
            << flag;
    }
    EXPECT_EQ(check(write("n.lmc", head + "1e127\nheader\nx\n-\n1\n1 2 3 4 5\n"))->ui.texts(),
              (std::vector<std::string>{"Error reading intrinsic spectrum"}));
    auto many = check(write("many.lmc", head + "1000000\nheader\nx\n-\n1.0\n1 2 3 4 5\n"));
    EXPECT_EQ(many->ui.texts(), (std::vector<std::string>{"The spectrum file " + (dir_ / "many.lmc").string() +
                                                          " holds a spectrum of 1000000 channels; at most 262144 "
                                                          "channels can be read"}));
    EXPECT_EQ(many->store.CHANNEL_CAPACITY, 0);
}

TEST_F(TempFiles, OtherExtensionsStayUnidentified) {
    auto c = check(write("notes.doc", "hello\n1 2 3\n"));
    EXPECT_EQ(c->result.type_text, "Unidentified");
    EXPECT_EQ(c->result.type_code, "");
    EXPECT_EQ(c->result.channels, 0);
    EXPECT_TRUE(c->ui.texts().empty());
    EXPECT_EQ(check(dir_ / "gone.dat")->ui.texts()[0], "Error opening the file: " + (dir_ / "gone.dat").string());
}

TEST_F(TempFiles, ATxtFileIsANativeFileUnlessItIsColumnText) {
    const auto native = check(write("notes.txt", "hello\n1 2 3\n"));
    EXPECT_EQ(native->result.type_code, "Dat");
    EXPECT_EQ(native->result.channels, 3);
    EXPECT_FALSE(native->result.converted);
    const auto columns = check(write("columns.txt", "0 1\n1 2\n2 3\n"));
    EXPECT_EQ(columns->result.type_code, "Col");
    EXPECT_EQ(columns->result.type_text, "Column text (txt)");
    EXPECT_TRUE(columns->result.converted);
    EXPECT_DOUBLE_EQ(columns->sum(), 6);
}
