#pragma once
// The folder and helpers of the safe-save tests (test_safe_file*.cpp).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "fakes/faulty_file_ops.h"
#include "safe_file.h"

namespace vorelbox::common::safe_file_test {

namespace fs = std::filesystem;
using fakes::FaultyFileOps;

class SafeFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_safe_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                std::to_string(system_file_ops().process_id()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        // Windows removes no read-only file.
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (const auto& e : fs::recursive_directory_iterator(dir_, ec)) {
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string make(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return path(name);
    }
    static std::string content(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Every name in the folder, hidden ones too.
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) {
            names.insert(e.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
};

inline std::function<bool(std::ostream&)> writes(const std::string& text) {
    return [text](std::ostream& out) {
        out << text;
        return static_cast<bool>(out);
    };
}

}  // namespace vorelbox::common::safe_file_test
