// Starting another program on Windows (under Wine here), as vorelbox-cli
// starts vorelbox-plot: the arguments arrive whole, the exit status comes back.

#include <gtest/gtest.h>

#include "os_path.h"
#include "process.h"
#include "support/temp_folder.h"

using namespace vorelbox;

TEST(RunProgram, ArgumentsWithBlanksAndBeyondAsciiArriveWholeAndTheExitStatusComesBack) {
    const support::TempFolder dir("vorelbox_process_");
    const std::string holder = VORELBOX_HOLD_FILE;
    const std::string name = dir.write("with  blanks \xCE\xB1.txt", "x");
    // The helper's exit status: 0 the file opened, 1 it did not, 2 a wrong count of arguments.
    EXPECT_EQ(common::run_program(holder, {"--check", name}), 0);
    EXPECT_EQ(common::run_program(holder, {"--check", name + "x"}), 1);
    EXPECT_EQ(common::run_program(holder, {"--check", (dir / "with").string(), "blanks"}), 2);
    EXPECT_EQ(common::run_program(holder, {"--check", ""}), 1);
    EXPECT_EQ(common::run_program((dir / "missing.exe").string(), {}), -1);
}

TEST(RunProgram, ProgramNamesAndTheRunningProgramsFile) {
    EXPECT_EQ(common::program_file_name("vorelbox-plot"), "vorelbox-plot.exe");
    const std::string self = common::own_program_file(nullptr);
    EXPECT_EQ(common::utf8_path(common::os_path(self).filename()), "test_common.exe");
}
