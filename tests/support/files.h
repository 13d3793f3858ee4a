#pragma once
// Files for tests that run on both systems.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "file_ops.h"

namespace vorelbox::support {

// Copies `from` to `to` as a file its user may change. The instrument files
// beside the repository are read-only; a copy would keep that, and Windows
// neither replaces nor removes a read-only file.
inline void copy_writable(const std::filesystem::path& from, const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    std::error_code absent;
    fs::permissions(to, fs::perms::owner_write, fs::perm_options::add, absent);  // a copy left by an earlier run
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
}

// Removes a test's folder with everything in it, read-only files too (Windows
// removes none of those). Throws when something stays.
inline void remove_folder(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (!it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(folder);
}

// `text` with the line ends that this system's text files get from the program:
// every "\n" becomes "\r\n" on Windows.
inline std::string system_text(std::string_view text) {
    if (common::system_line_ends() == common::LineEnds::Lf) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace vorelbox::support
