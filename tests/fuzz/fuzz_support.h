#pragma once
// Helpers of the fuzz targets: the input as text, a check that stops the run with
// a message when a property fails, and a folder of their own for files.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace vorelbox::fuzz {

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A failed property: told on stderr, then abort(), which libFuzzer and the
// replay both report as a failure with the input that caused it.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz property failed: %s\n", what.c_str());
    std::abort();
}

inline void check(bool holds, const std::string& what) {
    if (!holds) {
        fail(what);
    }
}

// The targets' own folder for the files they read and write:
// <temporary folder>/vorelbox-fuzz, made on first use. Targets never name files
// outside it that they could write.
inline const std::filesystem::path& sandbox() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        auto path = std::filesystem::temp_directory_path(ec) / "vorelbox-fuzz";
        std::filesystem::create_directories(path, ec);
        return path;
    }();
    return folder;
}

// Writes a file in one step (a temporary beside it, then a rename), so that
// several runs at once never see a half-written fixture.
inline void put_file(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path temp = path.string() + ".tmp" + std::to_string(::getpid());
    bool written = false;
    {
        std::ofstream out(temp, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        written = static_cast<bool>(out);
    }
    if (written) {
        std::error_code ec;
        std::filesystem::rename(temp, path, ec);
    }
}

// True when any message was shown: a failed read must say why.
inline bool said_something(const std::vector<std::string>& messages, const std::vector<std::string>& status) {
    return !messages.empty() || !status.empty();
}

}  // namespace vorelbox::fuzz
