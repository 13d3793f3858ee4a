#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_state.h"
#include "check_spectrum_file.h"
#include "dispatch.h"
#include "fakes/fake_clipboard.h"
#include "fakes/manual_clock.h"
#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"
#include "program_setup.h"
#include "support/files.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_dispatch_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
        services.settings_path = (dir_ / "Vorelbox.ini").string();
        services.selected_tab = [this] { return tab; };
        services.close_window = [this] { ++closed; };
        services.show_result = [this](const std::string& file, const std::string& kind, const std::string&) {
            shown.push_back(kind + ":" + file);
        };
    }
    void TearDown() override { support::remove_folder(dir_); }
    bool apply(int id) { return core::VORELBOXAPPLY_SUB(state, services, id); }
    static std::string read(const fs::path& p) {
        std::ifstream in(p);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    core::AppState state;
    fakes::ScriptedUi ui;
    fakes::FakeClipboard clipboard{std::nullopt};
    fakes::ManualClock clock;
    core::Redraws redraws;
    core::Services services{ui, clipboard, clock, redraws};
    int tab = 1;
    int closed = 0;
    std::vector<std::string> shown;
};

}  // namespace

TEST_F(Dispatch, ExitAsksAboutBothUnsavedThingsInOrder) {
    state.program = core::PROGRAM_CONVERTER;
    state.adder.list.not_saved = true;
    state.converter.state.unsaved_conversion = true;
    ui.answer_no();
    ui.answer(common::answer::cancel);
    EXPECT_TRUE(apply(core::command::exit));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"The present spectrum list is not saved - save before leaving?",
                                                    "The new spectrum is not saved - save before leaving?"}));
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(fs::exists(services.settings_path));

    ui.answer_no();
    ui.answer_no();
    EXPECT_FALSE(apply(core::command::exit));
    EXPECT_EQ(closed, 1);
    // The unsaved list is not named in the settings.
    EXPECT_NE(read(services.settings_path).find("\nSpectrumList=\n"), std::string::npos);
    EXPECT_NE(read(services.settings_path).find("\nProgram=2\n"), std::string::npos);
}

TEST_F(Dispatch, CancellingTheSaveBeforeLeavingKeepsTheProgramRunning) {
    state.program = core::PROGRAM_ADDER;
    state.adder.list.not_saved = true;
    state.adder.list.channels = 2;
    state.adder.list.rows.push_back({"row", 1, (dir_ / "a.dat").string(), {1, 2}, 2});
    ui.answer_yes();
    ui.choose("");  // the save dialog is cancelled
    EXPECT_TRUE(apply(core::command::exit));
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(fs::exists(services.settings_path));
    EXPECT_TRUE(state.adder.list.not_saved);

    // Saved this time: the program ends, naming the saved list.
    ui.answer_yes();
    ui.choose((dir_ / "kept.vsl").string());
    EXPECT_FALSE(apply(core::command::exit));
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(fs::exists(dir_ / "kept.vsl"));
    EXPECT_NE(read(services.settings_path).find("\nSpectrumList=" + (dir_ / "kept.vsl").string() + "\n"),
              std::string::npos);

    // The converter's unsaved spectrum: Yes, then Cancel at the choice, stays.
    state.adder.list.not_saved = false;
    state.converter.state.unsaved_conversion = true;
    state.converter.state.spectra = 1;
    state.converter.state.selected = 1;
    state.converter.state.channels = 2;
    state.converter.state.headers = {"converted"};
    ui.answer_yes();
    ui.answer(common::answer::cancel);
    EXPECT_TRUE(apply(core::command::exit));
    EXPECT_EQ(closed, 1);
    ASSERT_TRUE(spectra::REALLOCATE_SPECTRA(state.store, 2));
    ui.answer_yes();
    ui.answer_no();  // "Save the selected spectrum in a Vorelix spectrum file (No)"
    ui.choose((dir_ / "converted.dat").string());
    EXPECT_FALSE(apply(core::command::exit));
    EXPECT_EQ(closed, 2);
    EXPECT_TRUE(fs::exists(dir_ / "converted.dat"));
}

TEST_F(Dispatch, AListLoadedFromTheRecentFilesIsDrawn) {
    const fs::path data = dir_ / "a.dat";
    std::ofstream(data) << "first\n1 2 3\n";
    const fs::path list = dir_ / "l.vsl";
    std::ofstream(list) << "VORELIX SPECTRUM LIST 3, channels\nfirst|1|" << data.string() << "\n";
    int drawn = 0;
    redraws.draw_list = [&drawn] { ++drawn; };
    state.program = core::PROGRAM_ADDER;
    state.adder.recent_lists.entries[0] = list.string();
    apply(core::command::recent_first);
    EXPECT_EQ(state.adder.list.row_count(), 1);
    clock.advance(core::REDRAW_DELAY_MS);
    EXPECT_EQ(drawn, 1);
}

TEST_F(Dispatch, SaveResultCopiesTheShownFile) {
    apply(core::command::save_result);
    EXPECT_EQ(ui.texts().back(), "There is no result to save");

    const fs::path shown_file = dir_ / "shown.txt";
    std::ofstream(shown_file) << "result\n";
    state.text_output.file = shown_file.string();
    ui.choose(shown_file.string());
    apply(core::command::save_result);
    EXPECT_EQ(ui.texts().back(), "Already saved as " + shown_file.string());
    EXPECT_EQ(ui.file_requests.back().title, "Result file");

    ui.choose((dir_ / "copy.txt").string());
    apply(core::command::save_result);
    EXPECT_EQ(read(dir_ / "copy.txt"), "result\n");
    ui.choose((dir_ / "none" / "copy.txt").string());
    apply(core::command::save_result);
    EXPECT_EQ(ui.texts().back(), "Error saving result as " + (dir_ / "none" / "copy.txt").string() + "\rIts folder does not exist; the file was not changed");
    // An empty result is copied too.
    std::ofstream(shown_file, std::ios::trunc).flush();
    ui.choose((dir_ / "copy.txt").string());
    apply(core::command::save_result);
    EXPECT_EQ(read(dir_ / "copy.txt"), "");
}

TEST_F(Dispatch, SpectrumAsTextUsesTheWidthOfTheLargestCount) {
    EXPECT_TRUE(core::write_spectrum_text((dir_ / "a.tmp").string(), "h", {99999999, 1}));
    EXPECT_EQ(read(dir_ / "a.tmp"), "h\n 99999999        1\n");
    EXPECT_TRUE(core::write_spectrum_text((dir_ / "b.tmp").string(), "h", {9999999.9, -2.5}));
    EXPECT_EQ(read(dir_ / "b.tmp"), "h\n 9999999      -2\n");

    state.program = core::PROGRAM_ADDER;
    apply(core::command::show_spectrum_text);  // nothing selected: nothing happens
    EXPECT_TRUE(shown.empty());
}

TEST_F(Dispatch, SpectrumAsTextShowsTheCountsOfTheSelectedSpectrum) {
    state.program = core::PROGRAM_ADDER;
    std::ofstream(dir_ / "three.dat") << "First spectrum\n1 2 3\nSecond spectrum\n4 5 6\nThird spectrum\n7 8 9\n";
    std::ofstream(dir_ / "other.dat") << "Other file\n90 91 92\n";
    std::ofstream(dir_ / "list.vsl") << "VORELIX SPECTRUM LIST 3, channels\nOther file|1|" << (dir_ / "other.dat").string()
                                     << "\n";
    const auto adder_command = [this](adder::AdderCommand command, int argument = 0) {
        adder::SPECTADD_APPLY_SUB(state.store, state.raw_files, state.adder, ui, clipboard, command, argument);
    };
    ui.choose((dir_ / "three.dat").string());
    adder_command(adder::AdderCommand::Lookup);
    adder_command(adder::AdderCommand::SpectrumSelection, 2);
    // Loading a list puts another file's spectra into the store.
    state.adder.list.file_name.clear();
    spectra::LOAD_SPECTRUM_FILE(state.store, ui, (dir_ / "other.dat").string());
    state.adder.list.file_name = (dir_ / "list.vsl").string();
    apply(core::command::show_spectrum_text);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Vorelix Spectrum:" + (dir_ / "list.tmp").string());
    EXPECT_EQ(read(dir_ / "list.tmp"), "Second spectrum\n       4       5       6\n");

    // The same after a list is loaded through the page.
    ui.choose((dir_ / "list.vsl").string());
    adder_command(adder::AdderCommand::LoadList);
    ASSERT_EQ(state.adder.list.row_count(), 1);
    EXPECT_EQ(state.store.CURRENT_SPECTRUM[0], 4.0);  // the selection plot shows the selected spectrum again
    apply(core::command::show_spectrum_text);
    EXPECT_EQ(read(dir_ / "list.tmp"), "Second spectrum\n       4       5       6\n");
}

TEST_F(Dispatch, ShowOriginalFileShowsTheConvertersPresentFile) {
    std::vector<std::string> tab_captions;
    services.set_text_tab_caption = [&tab_captions](const std::string& c) { tab_captions.push_back(c); };
    state.program = core::PROGRAM_CONVERTER;
    apply(core::command::show_input);  // no file: nothing to show
    EXPECT_TRUE(shown.empty());

    const fs::path spe = dir_ / "run.spe";
    std::ofstream(spe) << "$SPEC_ID:\nrun\n";
    state.converter.state.file = spe.string();
    state.converter.state.type_code = spectra::TYPE_SPE;
    apply(core::command::show_input);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.back(), "Vorelix Spectrum:" + spe.string());
    EXPECT_EQ(tab_captions.back(), "Spectrum file");

    // After a Maestro file was opened, its readable native copy is shown, not the .spe.
    const fs::path chn = dir_ / "run2.chn";
    std::ofstream(chn) << "binary";
    std::ofstream(dir_ / "run2.dat") << "header\n1 2 3\n";
    state.converter.state.file = chn.string();
    state.converter.state.type_code = spectra::TYPE_MAESTRO;
    apply(core::command::show_input);
    EXPECT_EQ(shown.back(), "Vorelix Spectrum:" + (dir_ / "run2.dat").string());

    const fs::path control = dir_ / "fit.lmc";
    std::ofstream(control) << "control\n";
    state.converter.state.file = control.string();
    state.converter.state.type_code = spectra::TYPE_INTRINSIC;
    apply(core::command::show_input);
    EXPECT_EQ(shown.back(), "Vorelix Control file:" + control.string());
    EXPECT_EQ(tab_captions.back(), "Control file");
}

TEST_F(Dispatch, CommandsWithoutAnOperationAreUnexpected) {
    for (const int id : {30020, 30030, 30042, 30046, 4242}) {
        apply(id);
        EXPECT_EQ(ui.texts().back(), "Unexpected case");
    }
    EXPECT_TRUE(state.control_parameters_changed);
    EXPECT_EQ(ui.status[0], "Control parameters changed");
    apply(core::command::print);
    EXPECT_EQ(ui.texts().back(), "There is nothing to print");
    apply(core::command::show_report);
    EXPECT_EQ(ui.texts().back(), "There is no report to show");
    tab = 3;
    apply(core::command::print);
    EXPECT_EQ(ui.texts().back(), "No spectra to print");
}

TEST_F(Dispatch, ASetupThatCannotBeSavedIsWarnedOfWithTheReason) {
    std::ofstream(services.settings_path) << "[Vorelbox]\n";
    fs::permissions(services.settings_path, fs::perms::owner_read);
    core::VORELBOXSAVE(state, services);
    EXPECT_EQ(ui.texts().back(), "Unable to save the setup\r" + services.settings_path +
                                     ": The file is read-only; the file was not changed");
    EXPECT_EQ(read(services.settings_path), "[Vorelbox]\n");
}
