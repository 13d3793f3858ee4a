#include "safe_file.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "text_utils.h"

namespace vorelbox::common {
namespace fs = std::filesystem;

namespace {

fs::path temporary_beside(const fs::path& target) {
    std::random_device random;
    for (;;) {
        fs::path temp = target;
        temp += ".part" + std::to_string(random() % 1000000000u);
        std::error_code ec;
        if (!fs::exists(temp, ec)) {
            return temp;
        }
    }
}

}  // namespace

bool file_exists(const std::string& path) {
    const std::string name(cut_at_nul(path));
    std::error_code ec;
    return !name.empty() && fs::is_regular_file(name, ec);
}

bool replace_file(const std::string& path, const std::function<bool(std::ostream&)>& write) {
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        return false;
    }
    const fs::path temp = temporary_beside(target);
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        ok = write(out);
        out.flush();
        ok = ok && out.good();
        out.close();
        ok = ok && !out.fail();
    }
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
    }
    return ok;
}

bool append_to_file(const std::string& path, const std::function<bool(std::ostream&)>& write) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    const auto size = exists ? fs::file_size(path, ec) : 0;
    if (ec) {
        return false;
    }
    std::ifstream old;
    if (exists) {
        old.open(path, std::ios::binary);
        if (!old) {
            return false;
        }
    }
    return replace_file(path, [&](std::ostream& out) {
        if (size > 0) {
            out << old.rdbuf();
            // An old last line without its line end still ends before what is added.
            old.clear();
            old.seekg(-1, std::ios::end);
            char last = '\n';
            if (old.get(last) && last != '\n') {
                out << '\n';
            }
        }
        return static_cast<bool>(out) && write(out);
    });
}

}  // namespace vorelbox::common
