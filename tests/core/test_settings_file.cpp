#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes/faulty_file_ops.h"
#include "fakes/scripted_ui.h"
#include "settings_file.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_ini_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string touch(const std::string& name) {
        const fs::path p = dir_ / name;
        std::ofstream(p) << "x\n";
        return p.string();
    }
    core::Settings read(const std::string& text) {
        std::istringstream in(text);
        return core::read_settings(in, ui);
    }
    fs::path dir_;
    fakes::ScriptedUi ui;
};

}  // namespace

TEST_F(SettingsFile, WrittenSettingsReadBackWhole) {
    core::Settings s;
    s.program = 1;
    s.recent_lists.entries[0] = touch("a.vsl");
    s.recent_lists.entries[1] = touch("b.vsl");
    s.spectrum_list = s.recent_lists.entries[0];
    s.spectrum_file = touch("in.dat");
    s.show_selected = true;
    s.show_sum = false;
    s.recent_converter_files.entries[0] = touch("c.chn");
    s.converter_file = s.recent_converter_files.entries[0];
    s.start_empty = true;
    s.page_setup.report_font = "DejaVu Sans Mono";
    s.page_setup.report_font_size = "12";
    s.page_setup.graphics_font = "DejaVu Sans";
    s.page_setup.graphics_font_size = "9";
    s.page_setup.margins.left = 1.5;
    s.page_setup.margins.bottom = 3.25;
    s.window = core::WindowPlacement{10, 700, 20, 400, 0, 3};
    std::ostringstream out;
    core::write_settings(out, s, false);
    const std::string text = out.str();
    EXPECT_EQ(text.substr(0, 46), "[Vorelbox]\nProgram=1\n[Spectrum adder]\nSpectrum");
    EXPECT_NE(text.find("\nShow_selected=T\nShow_sum=F\n[Spectrum converter]\n"), std::string::npos);
    EXPECT_NE(text.find("\nLeft margin=  1.50\n"), std::string::npos);
    EXPECT_NE(text.find("\n[Program]\nWindow=10,700,20,400,0,3,\nFont=DejaVu Sans Mono\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 44);

    const core::Settings back = read(text);
    EXPECT_TRUE(ui.shown().empty()) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(back.program, 1);
    EXPECT_EQ(back.recent_lists.entries, s.recent_lists.entries);
    EXPECT_EQ(back.spectrum_list, s.spectrum_list);
    EXPECT_EQ(back.spectrum_file, s.spectrum_file);
    EXPECT_TRUE(back.show_selected);
    EXPECT_FALSE(back.show_sum);
    EXPECT_EQ(back.converter_file, s.converter_file);
    EXPECT_TRUE(back.start_empty);
    EXPECT_EQ(back.page_setup.report_font, "DejaVu Sans Mono");
    EXPECT_EQ(back.page_setup.graphics_font_size, "9");
    EXPECT_EQ(back.page_setup.margins.bottom, 3.25);
    ASSERT_TRUE(back.window);
    EXPECT_EQ(back.window->show, 3);

    // An unsaved list is not reopened next time.
    std::ostringstream unsaved;
    core::write_settings(unsaved, s, true);
    EXPECT_NE(unsaved.str().find("\nSpectrumList=\n"), std::string::npos);
}

TEST_F(SettingsFile, ReadingRulesAndWarnings) {
    const std::string list = touch("l.vsl");
    const core::Settings s = read(" Program=1\nProgram = 2\nSpectrumList[10]=" + list + "\nSpectrumList[0]=x\n"
                                  "SpectrumList[3]=/gone/kept.vsl\nConverterFile[2]=/gone/dropped.chn\n"
                                  "no equals here\n\n[Any section]\nFont=\nFontsize=\nTop margin=abc\n"
                                  "Window= 10 , 700 ,20, 400,0 ,1,\nNewKey=1\n");
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Wrong ini-parameter:  Program=1", "Wrong ini-parameter: Program = 2",
                                                    "Wrong ini-parameter: SpectrumList[10]=" + list,
                                                    "Wrong ini-parameter: SpectrumList[0]=x",
                                                    "Wrong ini-line: no equals here",
                                                    "Wrong ini-parameter: NewKey=1"}));
    EXPECT_EQ(s.program, 0);
    EXPECT_EQ(s.recent_lists.entries[2], "/gone/kept.vsl");
    EXPECT_TRUE(s.recent_converter_files.entries[1].empty());
    EXPECT_EQ(s.page_setup.report_font, "Courier New");
    EXPECT_EQ(s.page_setup.report_font_size, "10");
    EXPECT_EQ(s.page_setup.margins.top, 2.0);
    ASSERT_TRUE(s.window);
    const core::WindowRect r = core::window_rect(*s.window);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.y, 20);
    EXPECT_EQ(r.width, 690);
    EXPECT_EQ(r.height, 380);
    const core::WindowRect clamped = core::window_rect({-5, 100, -5, 100, 0, 1});
    EXPECT_EQ(clamped.x, 0);
    EXPECT_EQ(clamped.width, 680);
    EXPECT_EQ(clamped.height, 380);
}

TEST_F(SettingsFile, ValuesBeyondAnyPageOrScreenAreNotTaken) {
    // Left as they were, they would overflow integer page positions later.
    const core::Settings s = read("Left margin=1e300\nRight margin=-5000\nTop margin=3.5\nBottom margin=nan\n"
                                  "Window=-2147483648,2147483647,0,500,0,1,\n");
    EXPECT_EQ(s.page_setup.margins.left, 2.0);
    EXPECT_EQ(s.page_setup.margins.right, 2.0);
    EXPECT_EQ(s.page_setup.margins.top, 3.5);
    EXPECT_EQ(s.page_setup.margins.bottom, 2.0);
    EXPECT_FALSE(s.window);
    EXPECT_TRUE(read("Window=-20,1900,0,1000,0,3,\n").window);
}

// A settings file that is a FIFO: test_settings_file_posix.cpp.
TEST_F(SettingsFile, NoSettingsFileIsTheFirstRunAndTellsNothing) {
    EXPECT_EQ(core::read_settings_file((dir_ / "none.ini").string(), ui).program, 0);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(SettingsFile, CurrentListThatIsGoneTakesRecentListOneAlong) {
    const core::Settings s = read("SpectrumList[1]=/gone/first.vsl\nSpectrumList[2]=/gone/second.vsl\nSpectrumList=\n");
    EXPECT_TRUE(s.spectrum_list.empty());
    EXPECT_TRUE(s.recent_lists.entries[0].empty());
    EXPECT_EQ(s.recent_lists.entries[1], "/gone/second.vsl");
}

TEST_F(SettingsFile, LocationFollowsTheEnvironmentAndWritableFolders) {
    EXPECT_EQ(core::settings_path("/tmp/x.ini", dir_.string(), "/cfg"), "/tmp/x.ini");
    EXPECT_EQ(core::settings_path("", dir_.string(), (dir_ / "cfg").string()), (dir_ / "Vorelbox.ini").string());
    EXPECT_EQ(core::settings_path("", "/nonexistent/program", (dir_ / "cfg").string()),
              (dir_ / "cfg" / "Vorelbox.ini").string());

    const std::string path = (dir_ / "Vorelbox.ini").string();
    core::Settings s;
    s.program = 2;
    ASSERT_TRUE(core::write_settings_file(path, s, false));
    EXPECT_EQ(core::read_settings_file(path, ui).program, 2);
    EXPECT_FALSE(core::write_settings_file((dir_ / "no" / "such.ini").string(), s, false));
}

TEST_F(SettingsFile, SettingsThatCannotBeSavedKeepTheOldFile) {
    const std::string path = (dir_ / "Vorelbox.ini").string();
    core::Settings s;
    s.program = 2;
    ASSERT_TRUE(core::write_settings_file(path, s, false));
    std::ifstream in(path, std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    s.program = 1;
    for (const fakes::SaveFault& fault : fakes::save_faults()) {
        fakes::FaultyFileOps ops;
        fault.arrange(ops);
        EXPECT_FALSE(core::write_settings_file(path, s, false, ops)) << fault.name;
        std::ifstream again(path, std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), old)
            << fault.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1) << fault.name;
    }
}
