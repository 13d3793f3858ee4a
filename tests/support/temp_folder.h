#pragma once
// A fresh folder for one test, named after it and removed with everything in it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/files.h"

namespace vorelbox::support {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix)
        : path_(std::filesystem::temp_directory_path() /
                (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        remove_folder(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        try {
            remove_folder(path_);
        } catch (const std::filesystem::filesystem_error& e) {
            ADD_FAILURE() << "the test's folder stays: " << e.what();
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes `bytes` to the file `name` in the folder; its full name.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

}  // namespace vorelbox::support
