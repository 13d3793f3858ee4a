#include <gtest/gtest.h>

#include "fakes/scripted_ui.h"
#include "ui.h"

namespace vorelbox::common {
namespace {

using vorelbox::fakes::ScriptedUi;

std::vector<int> button_ids(const MessageRequest& request) {
    std::vector<int> ids;
    for (const MessageButton& b : request.buttons) {
        ids.push_back(b.id);
    }
    return ids;
}

TEST(Ui, MessagesHaveTheirCaptionButtonsAndTrimmedText) {
    ScriptedUi ui;
    TELL(ui, "Done.   ");
    WARN(ui, "  Careful\rsecond line \t");
    ASSERT_EQ(ui.requests().size(), 2u);
    const MessageRequest& tell = ui.requests()[0];
    EXPECT_EQ(tell.caption, "Vorelbox Information");
    EXPECT_EQ(tell.text, "Done.");
    EXPECT_EQ(tell.icon, MessageIcon::Information);
    EXPECT_EQ(button_ids(tell), std::vector<int>{answer::ok});
    const MessageRequest& warn = ui.requests()[1];
    EXPECT_EQ(warn.caption, "Vorelbox Message");
    EXPECT_EQ(warn.text, "  Careful\rsecond line");
    EXPECT_EQ(warn.icon, MessageIcon::Exclamation);
    // The warning flag is up exactly while the warning is shown.
    EXPECT_FALSE(ui.shown()[0].was_warning_open);
    EXPECT_TRUE(ui.shown()[1].was_warning_open);
    EXPECT_FALSE(ui.warning_open());
}

TEST(Ui, YesNoQueriesMapTheirAnswers) {
    ScriptedUi ui;
    ui.answer_yes();
    EXPECT_TRUE(ASK_YN(ui, "Go on?"));
    ui.answer(answer::cancel);
    EXPECT_FALSE(ASK_YN(ui, "Go on?"));
    EXPECT_EQ(ui.requests()[0].caption, "Vorelbox Query:");
    EXPECT_EQ(button_ids(ui.requests()[0]), (std::vector<int>{answer::yes, answer::no}));
    EXPECT_EQ(ui.requests()[0].close_answer, answer::no);

    const std::vector<std::pair<int, char>> chars = {
        {answer::yes, 'Y'}, {answer::no, 'N'}, {answer::cancel, 'C'}, {answer::all, 'C'}};
    for (const auto& [id, expected] : chars) {
        ui.answer(id);
        EXPECT_EQ(ASK_YNC(ui, "Save?"), expected) << id;
    }
    const std::vector<std::pair<int, int>> codes = {
        {answer::yes, 6}, {answer::no, 7}, {answer::cancel, 2}, {answer::ok, 2}};
    for (const auto& [id, expected] : codes) {
        ui.answer(id);
        EXPECT_EQ(IASK_YNC(ui, "Save?"), expected) << id;
    }
    const MessageRequest& ync = ui.requests().back();
    EXPECT_EQ(ync.caption, "Vorelbox Query:");
    EXPECT_EQ(button_ids(ync), (std::vector<int>{answer::yes, answer::no, answer::cancel}));
    EXPECT_EQ(ync.buttons.front().caption, "&Yes");
    EXPECT_EQ(ui.unused_answers(), 0u);
}

TEST(Ui, AllQueriesOfferTheAllButtonWithCallerCaptions) {
    ScriptedUi ui;
    ui.answer(answer::all);
    EXPECT_EQ(ASK_YES_NO_ALL(ui, "Replace?"), 1004);
    const MessageRequest& yna = ui.requests().back();
    EXPECT_EQ(yna.caption, "Vorelbox Query");
    EXPECT_TRUE(yna.all_dialog);
    EXPECT_EQ(button_ids(yna), (std::vector<int>{1513, 1514, 1004, answer::cancel}));
    EXPECT_EQ(yna.buttons[2].caption, "Yes to &all");

    ui.answer(answer::ok_button);
    OkAllCaptions captions;
    captions.ok = "&Add";
    captions.all = "Add &all";
    EXPECT_EQ(ASK_OK_ALL(ui, "Add spectrum?", captions), answer::ok_button);
    const MessageRequest& oka = ui.requests().back();
    EXPECT_EQ(button_ids(oka), (std::vector<int>{1512, 1004, answer::cancel}));
    EXPECT_EQ(oka.buttons[0].caption, "&Add");
    EXPECT_EQ(oka.buttons[1].caption, "Add &all");
    EXPECT_EQ(oka.buttons[2].caption, "Cancel");
}

TEST(Ui, StatusTrimsAndWritesToThePagePart) {
    ScriptedUi ui;
    STATUS(ui, "  Reading peak.dat  ");
    EXPECT_EQ(ui.status[2], "Reading peak.dat");
    EXPECT_EQ(ui.status[0], "");
    EXPECT_EQ(ui.status[1], "");
}

}  // namespace
}  // namespace vorelbox::common

TEST(Ui, FileDialogsStartInTheUsersFolderNeverInTheProgramsOwn) {
    using namespace vorelbox;
    fakes::ScriptedUi ui;
    common::DialogFolders& folders = ui.dialog_folders();
    folders.program = "/opt/vorelbox/";
    folders.home = "/home/ann/";

    // The program's own file is proposed in the home folder, under its name.
    ui.choose("");
    common::SAVE_FILEW(ui, "/opt/vorelbox/Readme.txt", "Result file", "Any file |*.*||");
    EXPECT_EQ(ui.file_requests.back().directory, "/home/ann/");
    EXPECT_EQ(ui.file_requests.back().file_name, "Readme.txt");

    // A name without a folder goes to the folder of the file in use.
    folders.in_use = "/data/run7/";
    ui.choose("/data/other/list.vsl");
    common::SAVE_FILEWEXT(ui, "Untitled.vsl", "Save spectrum list", "Spectrum list (*.vsl)|*.vsl||", ".vsl");
    EXPECT_EQ(ui.file_requests.back().directory, "/data/run7/");
    EXPECT_EQ(ui.file_requests.back().file_name, "Untitled.vsl");
    EXPECT_EQ(folders.last, "/data/other/");

    // With no file in use (or one in the program's folder), the last folder chosen.
    folders.in_use = "/opt/vorelbox";
    ui.choose("");
    common::FIND_FILEW(ui, "*.dat", "Vorelix Spectrum", "all files|*.*||");
    EXPECT_EQ(ui.file_requests.back().directory, "/data/other/");

    // A proposal in a folder of the user's stays as it is.
    ui.choose("");
    common::SAVE_FILEWEXT(ui, "/data/run7/a_sum.dat", "t", "all files|*.*||", ".dat");
    EXPECT_EQ(ui.file_requests.back().file_name, "/data/run7/a_sum.dat");
    ui.choose("");
    common::SAVE_FILEW(ui, "/data/run7/a.tmp", "Result file", "Any file |*.*||");
    EXPECT_EQ(ui.file_requests.back().directory, "/data/run7/");
}
