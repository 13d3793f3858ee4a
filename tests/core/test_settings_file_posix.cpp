// FIFOs, which a Windows file system does not have.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "fakes/scripted_ui.h"
#include "settings_file.h"
#include "support/temp_folder.h"

using namespace vorelbox;

TEST(SettingsFifos, ASettingsFileThatIsNoFileIsToldAndPassedOver) {
    const support::TempFolder dir("vorelbox_ini_fifo_");
    const std::string fifo = (dir / "Vorelbox.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fakes::ScriptedUi ui;
    const core::Settings s = core::read_settings_file(fifo, ui);
    EXPECT_EQ(s.program, 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The settings file " + fifo + " is not a file"});
}
