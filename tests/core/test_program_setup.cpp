#include <gtest/gtest.h>

#include "app_state.h"
#include "fakes/manual_clock.h"
#include "fakes/scripted_ui.h"
#include "program_setup.h"
#include "timers.h"

using namespace vorelbox;

TEST(ProgramSetup, MenusAndToolBarsFollowTheProgram) {
    const auto adder_menu = core::SETUP_VORELBOX_MENU(1);
    EXPECT_TRUE(adder_menu.new_list_entry);
    EXPECT_EQ(adder_menu.texts[0].text, "Load spectrum list");
    EXPECT_EQ(adder_menu.texts[4].text, "Show spectrum list");
    const auto converter_menu = core::SETUP_VORELBOX_MENU(2);
    EXPECT_FALSE(converter_menu.new_list_entry);
    EXPECT_EQ(converter_menu.texts[1].text, "Save converted spectrum as");

    EXPECT_EQ(core::BUILDVORELBOXTOOLBAR(1, true).size(), 8u);
    const auto full = core::BUILDVORELBOXTOOLBAR(1, false);
    ASSERT_EQ(full.size(), 10u);
    EXPECT_EQ(full[9].tooltip, "Nothing to save");
    EXPECT_TRUE(full[3].separator);
    const auto converter_bar = core::BUILDVORELBOXTOOLBAR(2, false);
    ASSERT_EQ(converter_bar.size(), 6u);
    EXPECT_EQ(converter_bar[5].tooltip, "Save last result");
    EXPECT_EQ(core::SET_VORELBOXTABNAMES(1)[0], "Spectrum adder");
}

TEST(ProgramSetup, FileLineFollowsProgramAndPage) {
    core::AppState state;
    state.program = core::PROGRAM_ADDER;
    state.adder.list.file_name = "/d/list.vsl";
    state.adder.list.not_saved = true;
    state.adder.page.input_file = "/d/in.dat";
    auto line = core::SHOW_VORELBOXPARAMETERS(state, 1);
    EXPECT_EQ(line.label, "Spectrum list");
    EXPECT_EQ(line.marker, '*');
    EXPECT_EQ(line.path, "/d/list.vsl");
    state.adder.list.not_saved = false;
    EXPECT_EQ(core::SHOW_VORELBOXPARAMETERS(state, 1).marker, ' ');
    // The Multispectrum tab names the file its page shows; the page shows the
    // active program's file.
    state.multispectrum.file_name = "/d/found.dat";
    line = core::SHOW_VORELBOXPARAMETERS(state, 3);
    EXPECT_EQ(line.label, "Spectrum file");
    EXPECT_EQ(line.path, "/d/found.dat");
    EXPECT_EQ(core::active_program_file(state), "/d/in.dat");

    state.program = core::PROGRAM_CONVERTER;
    state.converter.state.file = "/d/run.chn";
    EXPECT_EQ(core::active_program_file(state), "/d/run.chn");
    line = core::SHOW_VORELBOXPARAMETERS(state, 1);
    EXPECT_EQ(line.label, "Original file");
    state.program = 0;
    EXPECT_FALSE(core::SHOW_VORELBOXPARAMETERS(state, 1).valid);
}

TEST(ProgramSetup, TheFolderInUseIsThatOfTheUsersFile) {
    core::AppState state;
    state.program = core::PROGRAM_ADDER;
    EXPECT_EQ(core::folder_in_use(state, 1), "");
    state.adder.list.file_name = "Untitled.vsl";  // a new list has no folder yet
    state.adder.page.input_file = "/data/in/run.dat";
    EXPECT_EQ(core::folder_in_use(state, 1), "/data/in/");
    state.adder.list.file_name = "/data/lists/l.vsl";
    EXPECT_EQ(core::folder_in_use(state, 1), "/data/lists/");
    state.multispectrum.file_name = "/data/multi/m.dat";
    EXPECT_EQ(core::folder_in_use(state, 3), "/data/multi/");
    state.program = core::PROGRAM_CONVERTER;
    state.converter.state.file = "/data/conv/x.chn";
    EXPECT_EQ(core::folder_in_use(state, 1), "/data/conv/");
}

TEST(Timers, ABurstOfRequestsDrawsOnce) {
    core::AppState state;
    state.program = core::PROGRAM_ADDER;
    fakes::ScriptedUi ui;
    fakes::ManualClock clock;
    int spectrum = 0;
    int list = 0;
    core::Redraws redraws{[&] { ++spectrum; }, [&] { ++list; }, {}, {}};
    for (int i = 0; i < 5; ++i) {
        core::REFRESH_GRAPH(state, ui, clock, redraws, 1);
        clock.advance(20);
    }
    EXPECT_EQ(list, 1);  // started at 0, drawn at 100
    clock.advance(100);
    EXPECT_EQ(list, 1);
    EXPECT_EQ(spectrum, 0);

    // A warning on screen holds the list back.
    ui.set_warning_open(true);
    core::REFRESH_GRAPH(state, ui, clock, redraws, 1);
    clock.advance(150);
    EXPECT_EQ(list, 1);
    ui.set_warning_open(false);

    state.adder.page.display_selection = true;
    core::REFRESH_GRAPH(state, ui, clock, redraws, 1);
    clock.advance(100);
    EXPECT_EQ(spectrum, 1);
}
