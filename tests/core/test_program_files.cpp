// Files that come with the program: beside it first, then in the installed data folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "program_files.h"

using namespace vorelbox::core;
namespace fs = std::filesystem;

TEST(ProgramFiles, BesideTheProgramFirstThenTheInstalledDataFolder) {
    const fs::path root = fs::temp_directory_path() / "vorelbox_program_files";
    fs::remove_all(root);
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    const std::vector<std::string> candidates = shipped_file_candidates("Readme.txt", bin.string());
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], (bin / "Readme.txt").string());
    EXPECT_EQ(candidates[1], (root / "share" / "vorelbox" / "Readme.txt").string());

    EXPECT_EQ(find_shipped_file("Readme.txt", bin.string()), "");
    EXPECT_NE(samples_message(bin.string()).find("not found"), std::string::npos);

    fs::create_directories(root / "share" / "vorelbox" / "samples");
    std::ofstream(root / "share" / "vorelbox" / "Readme.txt") << "installed";
    EXPECT_EQ(find_shipped_file("Readme.txt", bin.string()), candidates[1]);
    EXPECT_NE(samples_message(bin.string()).find((root / "share" / "vorelbox" / "samples").string()),
              std::string::npos);

    std::ofstream(bin / "Readme.txt") << "beside";
    EXPECT_EQ(find_shipped_file("Readme.txt", bin.string()), candidates[0]);
    fs::remove_all(root);
}
