// The safe save on Windows, against the real file system (under Wine here):
// MoveFileExW over an existing file, a file that another process holds open,
// the read-only attribute, device names and names beyond ASCII.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "os_path.h"
#include "safe_file_fixture.h"
#include "support/other_process_windows.h"
#include "windows_text.h"

namespace vorelbox::common::safe_file_test {
namespace {

DWORD attributes_of(const std::string& path) {
    return ::GetFileAttributesW(to_wide(path).c_str());
}

TEST_F(SafeFile, ReplacesAnExistingFileInPlaceLeavingNoTemporary) {
    const std::string target = make("spectrum.dat", std::string(70000, 'o'));
    for (int round = 0; round < 3; ++round) {
        const std::string text(50000 + round, static_cast<char>('a' + round));
        ASSERT_TRUE(replace_file(target, writes(text)));
        EXPECT_EQ(content(target), text);
    }
    EXPECT_EQ(entries(), std::set<std::string>{"spectrum.dat"});
    // The new file is an ordinary one: no hidden temporary's attributes.
    EXPECT_EQ(attributes_of(target) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), 0u);
}

TEST_F(SafeFile, AFileHeldOpenByAnotherProcessIsKeptAndTheReasonGiven) {
    const std::string target = make("held.dat", "old\r\n");
    {
        support::FileHeldByAnotherProcess holder(target);
        ASSERT_TRUE(holder.held());
        const SaveResult r = replace_file(target, writes("new"));
        EXPECT_EQ(r.problem, SaveProblem::Rename);
        const std::string text = save_problem_text(r);
        EXPECT_EQ(text.rfind("The new content could not take the old file's place (", 0), 0u) << text;
        EXPECT_NE(text.find("; the file was not changed"), std::string::npos) << text;
        EXPECT_EQ(append_to_file(target, writes("more")).problem, SaveProblem::Rename);
        EXPECT_EQ(content(target), "old\r\n");
        EXPECT_EQ(entries(), std::set<std::string>{"held.dat"});
    }
    // Once the other program has closed it, the save goes through.
    ASSERT_TRUE(replace_file(target, writes("new")));
    EXPECT_EQ(content(target), "new");
}

TEST_F(SafeFile, TheReadOnlyAttributeRefusesTheSaveAndStays) {
    const std::string target = make("locked.dat", "kept");
    ASSERT_TRUE(::SetFileAttributesW(to_wide(target).c_str(), FILE_ATTRIBUTE_READONLY));
    const SaveResult r = replace_file(target, writes("new"));
    EXPECT_EQ(r.problem, SaveProblem::ReadOnly);
    EXPECT_EQ(save_problem_text(r), "The file is read-only; the file was not changed");
    EXPECT_EQ(append_to_file(target, writes("new")).problem, SaveProblem::ReadOnly);
    EXPECT_EQ(copy_file(target, target + ".copy").problem, SaveProblem::None);
    EXPECT_EQ(content(target), "kept");
    EXPECT_NE(attributes_of(target) & FILE_ATTRIBUTE_READONLY, 0u);
    // A copy of a read-only file is an ordinary, writable file.
    EXPECT_EQ(attributes_of(target + ".copy") & FILE_ATTRIBUTE_READONLY, 0u);
    ::SetFileAttributesW(to_wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SafeFile, DeviceNamesAreNoFilesToSaveTo) {
    for (const std::string name : {"NUL", "con", "COM1", "LPT1.dat", "aux.txt", "nul  "}) {
        const SaveResult r = replace_file(path(name), writes("x"));
        EXPECT_EQ(r.problem, SaveProblem::NotRegularFile) << name;
    }
    EXPECT_EQ(replace_file("\\\\.\\PhysicalDrive0", writes("x")).problem, SaveProblem::NotRegularFile);
    EXPECT_TRUE(entries().empty());
}

TEST_F(SafeFile, NamesBeyondAsciiAreUtf8InsideAndUtf16OnTheDisk) {
    // "Mëssung α.dat" in a folder "Проба": written, listed and read back.
    const std::string folder = path("\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0");
    ASSERT_TRUE(::CreateDirectoryW(to_wide(folder).c_str(), nullptr));
    const std::string name = folder + "\\M\xC3\xABssung \xCE\xB1.dat";
    ASSERT_TRUE(replace_file(name, writes("one")));
    ASSERT_TRUE(replace_file(name, writes("two")));
    ASSERT_TRUE(append_to_file(name, writes("three")));
    const std::wstring wide = to_wide(folder) + L"\\M\u00EBssung \u03B1.dat";
    EXPECT_NE(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(system_file_ops().folder_entries(folder).size(), 3u);  // ".", ".." and the file
    const auto entries = system_file_ops().folder_entries(folder);
    EXPECT_NE(std::find(entries.begin(), entries.end(), "M\xC3\xABssung \xCE\xB1.dat"), entries.end());
    EXPECT_EQ(utf8_path(os_path(name).filename()), "M\xC3\xABssung \xCE\xB1.dat");
    EXPECT_TRUE(file_exists(name));
    ASSERT_TRUE(copy_file(name, folder + "\\copy \xE2\x82\xAC.dat"));
    EXPECT_TRUE(file_exists(folder + "\\copy \xE2\x82\xAC.dat"));
}

TEST_F(SafeFile, DriveLettersForwardSlashesAndLongNamePrefixesReachTheSameFile) {
    const std::string target = make("a.dat", "old");
    // The folder as Windows names it, with its drive letter.
    wchar_t full[MAX_PATH] = {};
    ASSERT_GT(::GetFullPathNameW(to_wide(target).c_str(), MAX_PATH, full, nullptr), 0u);
    const std::string with_drive = to_utf8(full);
    ASSERT_EQ(with_drive[1], ':');
    ASSERT_TRUE(replace_file(with_drive, writes("drive")));
    EXPECT_EQ(content(target), "drive");
    std::string forward = with_drive;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    ASSERT_TRUE(replace_file(forward, writes("forward")));
    EXPECT_EQ(content(target), "forward");
    ASSERT_TRUE(replace_file("\\\\?\\" + with_drive, writes("long")));
    EXPECT_EQ(content(target), "long");
    EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});
}

TEST_F(SafeFile, StaleTemporariesOfAnEndedProcessAreRemovedOnWindowsToo) {
    const std::string target = make("a.dat", "old");
    // Windows numbers processes in fours: no process has this number.
    constexpr int ended = 999999;
    EXPECT_FALSE(system_file_ops().process_running(ended));
    EXPECT_TRUE(system_file_ops().process_running(system_file_ops().process_id()));
    const std::string stale = utf8_path(os_path(temporary_name(target, ended, 7)).filename());
    make(stale, "left");
    ASSERT_TRUE(replace_file(target, writes("new")));
    EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});
}

}  // namespace
}  // namespace vorelbox::common::safe_file_test
