#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "convert_spectrum_file.h"
#include "fakes/faulty_file_ops.h"
#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"
#include "write_spectrum_file.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_convert_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const std::string& text) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Reads a written native copy back with the native reader.
    struct Back {
        spectra::SpectrumStore store;
        spectra::LoadResult result;
        double sum() const {
            return std::accumulate(store.FILE_SPECTRA[0].begin(), store.FILE_SPECTRA[0].begin() + result.channel_count, 0.0);
        }
    };
    static std::unique_ptr<Back> load(const std::string& path) {
        auto b = std::make_unique<Back>();
        fakes::ScriptedUi ui;
        b->result = spectra::LOAD_SPECTRUM_FILE(b->store, ui, path);
        EXPECT_TRUE(ui.shown().empty());
        return b;
    }

    spectra::RawFileTable files_;
    fakes::ScriptedUi ui_;
    fs::path dir_;
};

}  // namespace

TEST_F(Convert, SpeFileGetsItsNativeCopyBesideIt) {
    const std::string spe =
        "$SPEC_ID:\nNo sample description was entered.\n$SPEC_REM:\nDET# 1\nAP# Maestro Version 7.01\n"
        "$DATE_MEA:\n01/31/2019 15:17:20\n$MEAS_TIM:\n2882 2905\n$DATA:\n0 9\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n$ROI:\n0\n";
    const fs::path source = write("run1.spe", spe);
    const auto r = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, source.string());
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.target, (dir_ / "run1.dat").string());
    EXPECT_EQ(read(r.target),
              "Maestro Version 7.01 01/31/2019 15:17:20 2882 2905\n"
              "         1         2         3         4         5         6         7         8\n"
              "         9        10\n");
    EXPECT_TRUE(ui_.shown().empty());
    auto back = load(r.target);
    EXPECT_EQ(back->result.channel_count, 10);
    EXPECT_EQ(back->result.format, "(8i10)");

    // Converting again finds the same spectrum there, and leaves it alone.
    EXPECT_TRUE(spectra::CONVERT_SPECTRUM_FILE(files_, ui_, source.string()).written);
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(Convert, AnotherFileOfTheCopysNameIsReplacedOnlyWhenTheUserAgrees) {
    const fs::path source = write("run2.spe", "$SPEC_ID:\nCu\n$DATA:\n0 2\n4\n5\n6\n");
    const fs::path own = write("run2.dat", "my own measurement\n       1       2       3\n");
    ui_.answer_no();
    const auto kept = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, source.string());
    EXPECT_TRUE(kept.failed);
    EXPECT_TRUE(kept.kept_existing);
    EXPECT_FALSE(kept.written);
    EXPECT_EQ(ui_.texts().back(), "The file " + own.string() + " already exists\rand holds other data than the spectrum of " +
                                      source.string() + "\rReplace it? (No keeps it, and " + source.string() +
                                      " is not read)");
    EXPECT_EQ(read(own.string()), "my own measurement\n       1       2       3\n");

    ui_.answer_yes();
    const auto replaced = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, source.string());
    EXPECT_TRUE(replaced.written);
    EXPECT_EQ(load(own.string())->sum(), 15.0);

    // A copy written in another layout (by the converter page, say) holds the same spectrum.
    write("run2.dat", "Cu\n       4       5       6\n");
    const std::size_t asked = ui_.texts().size();
    EXPECT_TRUE(spectra::CONVERT_SPECTRUM_FILE(files_, ui_, source.string()).written);
    EXPECT_EQ(ui_.texts().size(), asked);
    EXPECT_EQ(read(own.string()), "Cu\n       4       5       6\n");
}

TEST_F(Convert, LongHeadersAreKeptAndWideCountsWidenTheFields) {
    const std::string description(120, 'd');
    const fs::path source =
        write("wide.SPE", "$SPEC_ID:\n" + description + "\n$DATA:\n0 2\n1 12345678901 3\n");
    const auto r = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, source.string());
    ASSERT_TRUE(r.written);
    EXPECT_EQ(read(r.target), description + "\n           1 12345678901           3\n");
    auto back = load(r.target);
    EXPECT_EQ(back->store.FILE_SPECTRA[0][1], 12345678901.0);
    EXPECT_EQ(back->store.FILE_SPECTRUM_HEADERS[0], std::string(80, 'd'));
}

TEST_F(Convert, RealFilesConvertWithTheirCounts) {
    const fs::path real(VORELBOX_REAL_DATA);
    const std::pair<const char*, double> cases[] = {
        {"Cs137SMALL.spe", 523753}, {"maricsmall.chn", 630926550}, {"01122014152731-GT01122014182338-GA37.CHN", 683658}};
    for (const auto& [file, sum] : cases) {
        const auto r = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, (real / file).string(), dir_.string());
        ASSERT_TRUE(r.written) << file;
        EXPECT_EQ(fs::path(r.target).parent_path(), dir_);
        auto back = load(r.target);
        EXPECT_EQ(back->result.channel_count, 4096) << file;
        EXPECT_EQ(back->sum(), sum) << file;
    }
    // Its sample description holds a line break, which must not split the header line.
    EXPECT_EQ(read(dir_ / "01122014152731-GT01122014182338-GA37.dat").substr(0, 40),
              "Sample title. - 12Jan 2014 15:12:28\n    ");
}

TEST_F(Convert, FailuresWriteNothingAndKeepTheOlderCopy) {
    write("bad.dat", "older copy\n");
    const fs::path bad = write("bad.spe", "$SPEC_ID:\nx\n$DATA:\n0 5\n1 2\n");
    const auto r = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, bad.string());
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(read(dir_ / "bad.dat"), "older copy\n");
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{"Error reading file: " + bad.string()}));

    const fs::path good = write("good.spe", "$SPEC_ID:\nx\n$DATA:\n0 1\n1 2\n");
    fakes::ScriptedUi ui;
    const auto unwritable = spectra::CONVERT_SPECTRUM_FILE(files_, ui, good.string(), (dir_ / "no" / "such").string());
    EXPECT_FALSE(unwritable.written);
    EXPECT_EQ(ui.texts()[0].rfind("Unable to write spectrum file ", 0), 0u);

    fakes::ScriptedUi missing;
    spectra::CONVERT_SPECTRUM_FILE(files_, missing, (dir_ / "gone.spe").string());
    spectra::CONVERT_SPECTRUM_FILE(files_, missing, (dir_ / "gone.dat").string());
    EXPECT_EQ(missing.texts(), (std::vector<std::string>{"Error opening the spectrum file: " + (dir_ / "gone.spe").string(),
                                                         "Unable to open spectrum file " + (dir_ / "gone.dat").string()}));
}

TEST_F(Convert, ANativeCopyThatCannotBeSavedKeepsTheOlderCopy) {
    const fs::path source = write("run.spe", "$SPEC_ID:\nx\n$DATA:\n0 1\n1 2\n");
    for (const fakes::SaveFault& fault : fakes::save_faults()) {
        SCOPED_TRACE(fault.name);
        write("run.dat", "older copy\n");
        fakes::FaultyFileOps ops;
        fault.arrange(ops);
        fakes::ScriptedUi ui;
        const auto r = spectra::CONVERT_SPECTRUM_FILE(files_, ui, source.string(), "", spectra::ExistingFile::Replace, ops);
        EXPECT_FALSE(r.written);
        EXPECT_TRUE(r.failed);
        ASSERT_EQ(ui.texts().size(), 1u);
        EXPECT_EQ(ui.texts()[0].rfind("Unable to write spectrum file " + (dir_ / "run.dat").string() + "\r", 0), 0u);
        EXPECT_NE(ui.texts()[0].find("the file was not changed"), std::string::npos);
        EXPECT_EQ(read(dir_ / "run.dat"), "older copy\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
    }
}

TEST_F(Convert, DatFilesAreTestedForTheTembraLayout) {
    const fs::path tembra = write("t.dat", "0 1 3\nsecond\nFILE    :x\nCOMMENT :\n0\n      1      2      3\n");
    const fs::path native = write("n.dat", "header\n1 2 3\n");
    EXPECT_TRUE(spectra::CONVERT_SPECTRUM_FILE(files_, ui_, tembra.string()).is_tembra);
    const auto plain = spectra::CONVERT_SPECTRUM_FILE(files_, ui_, native.string());
    EXPECT_FALSE(plain.is_tembra);
    EXPECT_FALSE(plain.written);
    EXPECT_EQ(plain.target, native.string());

    const auto copy = spectra::convert_tembra_file(ui_, tembra.string());
    ASSERT_TRUE(copy.written);
    EXPECT_EQ(copy.target, (dir_ / "t_tembra.dat").string());
    EXPECT_EQ(load(copy.target)->sum(), 6.0);
}
