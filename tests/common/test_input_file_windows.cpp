// Reading input files on Windows (under Wine here): devices are refused at
// once, names beyond ASCII are read, and a file that another program has open
// for writing can still be read.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "input_file.h"
#include "os_path.h"
#include "support/other_process_windows.h"
#include "support/temp_folder.h"
#include "windows_text.h"

using namespace vorelbox;
using common::InputProblem;

TEST(InputFilesOnWindows, DevicesAreRefusedAtOnce) {
    const support::TempFolder dir("vorelbox_input_win_");
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : std::vector<std::string>{"NUL", "CON", "CONIN$", "COM1", (dir / "nul.dat").string()}) {
        const common::InputFile f = common::read_input_file(name);
        EXPECT_TRUE(f.problem == InputProblem::NotRegular || f.problem == InputProblem::CannotOpen) << name;
        EXPECT_TRUE(f.text.empty()) << name;
        EXPECT_FALSE(common::is_regular_file_name(name)) << name;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(common::read_input_file("NUL").problem, InputProblem::NotRegular);
}

TEST(InputFilesOnWindows, NamesBeyondAsciiAreRead) {
    const support::TempFolder dir("vorelbox_input_win_");
    const std::wstring wide = dir.path().wstring() + L"\\\u00C5ngstr\u00F6m \u65E5\u672C.chn";
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "bytes\r\n", 7, &written, nullptr);
    ::CloseHandle(file);
    const std::string name = common::to_utf8(wide);
    EXPECT_TRUE(name.ends_with("\\\xC3\x85ngstr\xC3\xB6m \xE6\x97\xA5\xE6\x9C\xAC.chn")) << name;
    const common::InputFile f = common::read_input_file(name);
    EXPECT_TRUE(f.ok());
    EXPECT_EQ(f.text, "bytes\r\n");
    EXPECT_TRUE(common::is_regular_file_name(name));
    EXPECT_EQ(common::utf8_path(common::os_path(name)), name);
}

TEST(InputFilesOnWindows, AFileAnotherProgramHasOpenIsStillRead) {
    const support::TempFolder dir("vorelbox_input_win_");
    const std::string name = dir.write("acquiring.spe", "$SPEC_ID:\r\nrun\r\n");
    support::FileHeldByAnotherProcess holder(name);
    ASSERT_TRUE(holder.held());
    const common::InputFile f = common::read_input_file(name);
    EXPECT_TRUE(f.ok());
    EXPECT_EQ(f.text, "$SPEC_ID:\r\nrun\r\n");
}
