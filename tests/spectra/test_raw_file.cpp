#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "raw_file.h"

namespace vorelbox::spectra {
namespace {

namespace fs = std::filesystem;

class RawFile : public ::testing::Test {
  protected:
    fs::path temp_path(std::string_view tag) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::random_device random;
        fs::path path = fs::temp_directory_path() /
                        ("vorelbox_raw_" + std::string(info->name()) + "_" + std::string(tag) +
                         "_" + std::to_string(random()) + ".bin");
        paths_.push_back(path);
        return path;
    }

    fs::path file_with(std::string_view tag, std::string_view bytes) {
        const fs::path path = temp_path(tag);
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void TearDown() override {
        files.close(1);
        files.close(2);
        for (const fs::path& path : paths_) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    }

    RawFileTable files;

  private:
    std::vector<fs::path> paths_;
};

TEST_F(RawFile, WrittenBytesReadBackAtTheirPositions) {
    const fs::path path = temp_path("data");
    ASSERT_TRUE(OPEN_WRITE(files, 1, path.string()));
    EXPECT_TRUE(WRITE_BYTES(files, 1, "ABCDEFGH"));
    EXPECT_TRUE(WRITE_BYTES(files, 1, std::string_view("\x01\x02\x03\x04\xFF\xFF\xFF\xFF", 8)));
    EXPECT_EQ(LEN_FILE(files, 1), 16);
    CLOSE_FILE(files, 1);
    EXPECT_EQ(contents(path).substr(0, 8), "ABCDEFGH");

    ASSERT_TRUE(OPEN_READ(files, 1, path.string()));
    EXPECT_EQ(LEN_FILE(files, 1), 16);
    EXPECT_EQ(READ_CHARS(files, 1, 5, 3), "FGH");
    EXPECT_EQ(READ_CHARS(files, 1, 0, 2), "AB");
    EXPECT_EQ(READ_BYTES(files, 1, 8, 4), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(READ_LONG(files, 1, 8), 0x04030201);
    EXPECT_EQ(READ_LONG(files, 1, 12), -1);
    EXPECT_EQ(READ_LONG(files, 1, 11), std::int32_t(0xFFFFFF04u));
    EXPECT_EQ(READ_CHARS(files, 1, 14, 2), "\xFF\xFF");
    // Reading past the end fails, and a failed read leaves the file usable.
    EXPECT_FALSE(READ_CHARS(files, 1, 14, 3));
    EXPECT_FALSE(READ_LONG(files, 1, 13));
    EXPECT_FALSE(READ_BYTES(files, 1, 100, 1));
    EXPECT_FALSE(READ_BYTES(files, 1, -1, 1));
    EXPECT_EQ(READ_CHARS(files, 1, 2, 1), "C");
    EXPECT_FALSE(WRITE_BYTES(files, 1, "x"));
}

TEST_F(RawFile, UnopenedUnitsAndMissingFilesFail) {
    EXPECT_EQ(LEN_FILE(files, 2), -1);
    EXPECT_FALSE(READ_CHARS(files, 2, 0, 1));
    EXPECT_FALSE(READ_LONG(files, 2, 0));
    EXPECT_FALSE(WRITE_BYTES(files, 2, "x"));
    EXPECT_FALSE(OPEN_READ(files, 2, temp_path("missing").string()));
    EXPECT_EQ(LEN_FILE(files, 2), -1);
    EXPECT_FALSE(OPEN_READ(files, 2, "   "));
    const fs::path path = file_with("closed", "abcd");
    ASSERT_TRUE(OPEN_READ(files, 2, path.string()));
    CLOSE_FILE(files, 2);
    EXPECT_FALSE(READ_CHARS(files, 2, 0, 1));
}

// FIFOs and devices: test_raw_file_posix.cpp.
TEST_F(RawFile, OnlyRegularFilesAreOpened) {
    // A folder is no file to read bytes from.
    EXPECT_FALSE(OPEN_READ(files, 1, fs::temp_directory_path().string()));
    EXPECT_EQ(LEN_FILE(files, 1), -1);
    EXPECT_TRUE(OPEN_WRITE(files, 1, temp_path("new").string()));
}

TEST_F(RawFile, TrailingBlanksAreIgnoredAndNamesWithControlCharactersOpenNothing) {
    const fs::path path = file_with("name", "abcd");
    EXPECT_TRUE(OPEN_READ(files, 1, path.string() + "    "));
    EXPECT_EQ(LEN_FILE(files, 1), 4);
    EXPECT_TRUE(OPEN_READ(files, 2, path.string() + std::string(3, '\0')));
    EXPECT_EQ(READ_CHARS(files, 2, 1, 3), "bcd");
    // The name up to the NUL names a file, but the whole name does not.
    EXPECT_FALSE(OPEN_READ(files, 3, path.string() + std::string(1, '\0') + "rest"));
    EXPECT_FALSE(OPEN_READ(files, 3, path.string() + "\n"));
    EXPECT_FALSE(OPEN_WRITE(files, 3, path.string() + std::string(1, '\0') + "/x"));
    EXPECT_EQ(LEN_FILE(files, 3), -1);
}

TEST_F(RawFile, OpeningAUnitAgainClosesItsOlderFileAndWriteReplaces) {
    const fs::path first = temp_path("first");
    const fs::path second = file_with("second", "0123456789");
    ASSERT_TRUE(OPEN_WRITE(files, 1, first.string()));
    ASSERT_TRUE(WRITE_BYTES(files, 1, "xyz"));
    ASSERT_TRUE(OPEN_READ(files, 1, second.string()));
    EXPECT_EQ(contents(first), "xyz");
    EXPECT_EQ(LEN_FILE(files, 1), 10);
    // Units are independent; a new write replaces the old contents.
    ASSERT_TRUE(OPEN_WRITE(files, 2, second.string()));
    EXPECT_EQ(LEN_FILE(files, 2), 0);
    ASSERT_TRUE(WRITE_BYTES(files, 2, "new"));
    CLOSE_FILE(files, 2);
    EXPECT_EQ(contents(second), "new");
}

}  // namespace
}  // namespace vorelbox::spectra
