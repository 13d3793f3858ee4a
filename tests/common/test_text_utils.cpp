#include <gtest/gtest.h>

#include "text_utils.h"

namespace vorelbox::common {
namespace {

TEST(TextUtils, CapsAndLowcaseChangeOnlyAsciiLetters) {
    EXPECT_EQ(CAPS("abc xyz  "), "ABC XYZ  ");
    EXPECT_EQ(CAPS("a\tb\r"), "A\tB\r");
    EXPECT_EQ(CAPS("stra\xC3\x9F"
                   "e \xC3\xA9t\xE9"),
              "STRA\xC3\x9F"
              "E \xC3\xA9T\xE9");
    EXPECT_EQ(LOWCASE("ABC Xyz  \xC3\x89T\xC9"), "abc xyz  \xC3\x89t\xC9");
    EXPECT_EQ(CAPS(""), "");
}

void expect_parts(std::string_view path, std::string_view drive, std::string_view directory,
                  std::string_view name, std::string_view extension) {
    const PathParts parts = SPLITPATH(path);
    EXPECT_EQ(parts.drive, drive) << path;
    EXPECT_EQ(parts.directory, directory) << path;
    EXPECT_EQ(parts.name, name) << path;
    EXPECT_EQ(parts.extension, extension) << path;
}

TEST(TextUtils, SplitPathSeparatesDriveDirectoryNameAndExtension) {
    expect_parts("C:\\data\\run1\\peak.dat", "C:", "\\data\\run1\\", "peak", ".dat");
    expect_parts("peak", "", "", "peak", "");
    expect_parts("peaks.tar.gz  ", "", "", "peaks.tar", ".gz");
    expect_parts("/home/me/run.1/peak", "", "/home/me/run.1/", "peak", "");
    expect_parts("D:/data\\run1/peak.dat", "D:", "/data\\run1/", "peak", ".dat");
    expect_parts("D:peak.dat", "D:", "", "peak", ".dat");
    expect_parts("/home/me/", "", "/home/me/", "", "");
}

TEST(TextUtils, SplitPathOfUncLongAndNonAsciiWindowsNames) {
    expect_parts("\\\\server\\share\\runs\\peak.dat", "", "\\\\server\\share\\runs\\", "peak", ".dat");
    expect_parts("//server/share/peak", "", "//server/share/", "peak", "");
    // The long-name prefix keeps the drive inside the directory: joined, the parts give the name back.
    expect_parts("\\\\?\\C:\\data\\peak.chn", "", "\\\\?\\C:\\data\\", "peak", ".chn");
    expect_parts("C:\\Me\xC3\x9F""daten\\\xCE\xB1 run.Spe", "C:", "\\Me\xC3\x9F""daten\\", "\xCE\xB1 run", ".Spe");
    expect_parts("C:\\run.1\\peak", "C:", "\\run.1\\", "peak", "");
}

TEST(TextUtils, SplitPathTakesNoDriveFromAColonInsideALinuxDirectory) {
    expect_parts("/home/me/10:30/peak.dat", "", "/home/me/10:30/", "peak", ".dat");
}

TEST(TextUtils, CutCharsNeverSplitsACharacter) {
    EXPECT_EQ(cut_chars("abcdef", 3), "abc");
    EXPECT_EQ(cut_chars("abc", 10), "abc");
    // UTF-8: two-byte letters count as one character each.
    EXPECT_EQ(cut_chars("\xC3\xA4\xC3\xB6\xC3\xBC", 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(cut_chars("a\xE2\x82\xAC"
                        "bc",
                        2),
              "a\xE2\x82\xAC");
    // Latin-1 is not UTF-8: bytes are characters, even after a valid start.
    EXPECT_EQ(cut_chars("\xE4\xF6\xFC", 2), "\xE4\xF6");
    EXPECT_EQ(cut_chars("ab\xE4"
                        "cd",
                        3),
              "ab\xE4");
    EXPECT_EQ(cut_chars("abc\xE4", 2), "ab");
}

}  // namespace
}  // namespace vorelbox::common
