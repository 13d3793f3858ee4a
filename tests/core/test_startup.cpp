#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app_state.h"
#include "fakes/fake_clipboard.h"
#include "fakes/scripted_ui.h"
#include "startup.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_start_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
        ini_ = (dir_ / "Vorelbox.ini").string();
        data_ = (dir_ / "a.dat").string();
        std::ofstream(data_) << "first\n1 2 3\nsecond\n4 5 6\n";
        list_ = (dir_ / "l.vsl").string();
        std::ofstream(list_) << "VORELIX SPECTRUM LIST 3, channels\nfirst|1|" << data_ << "\n";
    }
    void TearDown() override { fs::remove_all(dir_); }
    int start(const std::string& ini_text, std::vector<std::string> arguments = {}) {
        if (!ini_text.empty()) {
            std::ofstream(ini_) << ini_text;
        }
        return core::VORELBOXINI(state, ui, clipboard, ini_, arguments);
    }

    fs::path dir_;
    std::string ini_, data_, list_;
    core::AppState state;
    fakes::ScriptedUi ui;
    fakes::FakeClipboard clipboard{std::nullopt};
};

}  // namespace

TEST_F(Startup, FirstStartChoosesTheConverter) {
    EXPECT_EQ(start(""), core::PROGRAM_CONVERTER);
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_EQ(state.settings.page_setup.report_font, "Courier New");
}

TEST_F(Startup, PreviousListAndInputFileAreRestored) {
    EXPECT_EQ(start("Program=1\nSpectrumList=" + list_ + "\nSpectrumFile=" + data_ + "\n"), core::PROGRAM_ADDER);
    EXPECT_EQ(state.adder.list.row_count(), 1);
    EXPECT_EQ(state.adder.page.input_spectra, 2);
    EXPECT_EQ(state.adder.page.list_view.rows.size(), 1u);
    EXPECT_EQ(ui.status[0], "Ready for Analysis");
    EXPECT_EQ(ui.status[1], "Spectrum list [l.vsl] loaded");
}

TEST_F(Startup, AFileChosenForAMissingOneLeavesTheListUnsaved) {
    const std::string gone = (dir_ / "gone.dat").string();
    std::ofstream(list_) << "VORELIX SPECTRUM LIST 3, channels\nfirst|1|" << gone << "\n";
    ui.answer_yes();
    ui.choose(data_);
    start("Program=1\nSpectrumList=" + list_ + "\n");
    ASSERT_EQ(state.adder.list.row_count(), 1);
    EXPECT_EQ(state.adder.list.rows[0].file, data_);
    EXPECT_TRUE(state.adder.list.not_saved);
}

TEST_F(Startup, TheRestoredDatasetIsTheStartupFile) {
    start("Program=1\nSpectrumList=" + list_ + "\n");
    EXPECT_EQ(state.startup_file, list_);
    core::AppState converter;
    std::ofstream(ini_) << "Program=2\nConverterFile=" + data_ + "\n";
    core::VORELBOXINI(converter, ui, clipboard, ini_, {});
    EXPECT_EQ(converter.startup_file, data_);
    EXPECT_EQ(converter.converter.state.file, data_);
}

TEST_F(Startup, BrokenListIsDroppedWithAWarning) {
    std::ofstream(list_) << "not a list\n";
    start("Program=1\nSpectrumList[1]=" + list_ + "\nSpectrumList=" + list_ + "\n");
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Unable to load Spectrum list: " + list_}));
    EXPECT_TRUE(state.adder.list.file_name.empty());
    EXPECT_TRUE(state.adder.recent_lists.entries[0].empty());
    EXPECT_EQ(ui.status[1], "No data");
}

TEST_F(Startup, EmptyStartAndCommandLineFile) {
    start("Program=1\nSpectrumList=" + list_ + "\nConverterFile=" + data_ + "\nStart_empty=T\n");
    EXPECT_EQ(state.adder.list.row_count(), 0);
    EXPECT_EQ(ui.status[1], "No data");
    // Neither program reopens its file.
    EXPECT_TRUE(state.converter.state.file.empty());
    EXPECT_TRUE(state.startup_file.empty());
    core::toggle_start_empty(state, ui);
    EXPECT_EQ(ui.texts().back(), "The next startup of Vorelbox will begin with the dataset previously opened");
    EXPECT_FALSE(state.settings.start_empty);

    core::AppState other;
    fakes::ScriptedUi ui2;
    EXPECT_EQ(core::VORELBOXINI(other, ui2, clipboard, ini_, {list_}), core::PROGRAM_ADDER);
    EXPECT_EQ(other.adder.list.row_count(), 1);
    core::AppState third;
    EXPECT_EQ(core::VORELBOXINI(third, ui2, clipboard, ini_, {data_}), core::PROGRAM_CONVERTER);
    EXPECT_EQ(third.converter.state.file, data_);
}
