#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "input_file.h"

using namespace vorelbox;
using common::InputProblem;
namespace fs = std::filesystem;

namespace {

class InputFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_input_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    fs::path dir_;
};

}  // namespace

TEST_F(InputFiles, ARegularFileIsReadWholeWithItsNulBytes) {
    const std::string bytes("a\0b\r\nlast line without an end", 30);
    const std::string name = write("f.dat", bytes);
    const common::InputFile f = common::read_input_file(name);
    EXPECT_TRUE(f.ok());
    EXPECT_EQ(f.text, bytes);
    EXPECT_EQ(f.size, 30);
    // Names come from fixed-length fields: trailing blanks do not count.
    EXPECT_EQ(common::read_input_file(name + "   ").text, bytes);
    EXPECT_EQ(common::read_input_file(write("empty.dat", "")).problem, InputProblem::None);
}

// FIFOs and devices: test_input_file_posix.cpp and test_input_file_windows.cpp.
TEST_F(InputFiles, MissingFilesAndFoldersAreRefused) {
    EXPECT_EQ(common::read_input_file((dir_ / "absent.dat").string()).problem, InputProblem::CannotOpen);
    EXPECT_EQ(common::read_input_file("").problem, InputProblem::CannotOpen);
    EXPECT_EQ(common::read_input_file(dir_.string()).problem, InputProblem::NotRegular);
    EXPECT_FALSE(common::is_regular_file_name(dir_.string()));
    EXPECT_TRUE(common::is_regular_file_name(write("r.dat", "x")));
}

TEST_F(InputFiles, FilesAboveTheLimitAreRefusedBeforeTheyAreRead) {
    const std::string name = write("hundred.dat", std::string(100, '7'));
    EXPECT_TRUE(common::read_input_file(name, 100).ok());
    const common::InputFile over = common::read_input_file(name, 99);
    EXPECT_EQ(over.problem, InputProblem::TooLarge);
    EXPECT_EQ(over.size, 100);
    EXPECT_TRUE(over.text.empty());
    // A sparse file of 2 GB costs nothing to make and must cost nothing to refuse.
    const std::string sparse = write("sparse.dat", "");
    fs::resize_file(sparse, std::uintmax_t{2} << 30);
    const common::InputFile big = common::read_input_file(sparse);
    EXPECT_EQ(big.problem, InputProblem::TooLarge);
    EXPECT_EQ(big.size, std::int64_t{2} << 30);
    EXPECT_EQ(common::input_problem_text(big, sparse, "Cannot open"),
              "The file " + sparse + " is too large to be read: 2147483648 bytes (at most 268435456)");
}

TEST_F(InputFiles, TheStartOfAFileIsReadUpToItsLimitWhateverTheFileHolds) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes += static_cast<char>('a' + i % 26);
    }
    const std::string name = write("start.chn", bytes);
    const common::InputFile cut = common::read_input_start(name, 100);
    ASSERT_TRUE(cut.ok());
    EXPECT_EQ(cut.text, bytes.substr(0, 100));
    EXPECT_EQ(common::read_input_start(name, 300).text, bytes);
    EXPECT_EQ(common::read_input_start(name, 301).text, bytes);
    EXPECT_EQ(common::read_input_start(name, 1 << 20).text, bytes);
    const common::InputFile none = common::read_input_start(name, 0);
    EXPECT_TRUE(none.ok());
    EXPECT_TRUE(none.text.empty());
    // Only what is wanted is read, even of a file of 2 GB.
    const std::string sparse = write("sparse.chn", "");
    fs::resize_file(sparse, std::uintmax_t{2} << 30);
    const common::InputFile big = common::read_input_start(sparse, 64);
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big.text, std::string(64, '\0'));
    // The same files are refused as by a whole reading.
    EXPECT_EQ(common::read_input_start((dir_ / "absent.chn").string(), 10).problem, InputProblem::CannotOpen);
    EXPECT_EQ(common::read_input_start(dir_.string(), 10).problem, InputProblem::NotRegular);
    EXPECT_EQ(common::read_input_start(std::string("a\nb"), 10).problem, InputProblem::CannotOpen);
}

TEST_F(InputFiles, ProblemTextsNameTheFile) {
    common::InputFile f;
    f.problem = InputProblem::CannotOpen;
    EXPECT_EQ(common::input_problem_text(f, "/d/x.spe", "Error opening the spectrum file: /d/x.spe"),
              "Error opening the spectrum file: /d/x.spe");
    f.problem = InputProblem::NotRegular;
    EXPECT_EQ(common::input_problem_text(f, "/d/x.spe", "Error opening the spectrum file: /d/x.spe"),
              "Error opening the spectrum file: /d/x.spe");
    f.problem = InputProblem::ReadError;
    EXPECT_EQ(common::input_problem_text(f, "/d/x.spe", "unused"), "Error reading file: /d/x.spe");
}
