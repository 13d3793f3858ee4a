// Names on a POSIX system: bytes, which the program takes to be UTF-8.

#include "os_path.h"

namespace vorelbox::common {

std::filesystem::path os_path(std::string_view utf8) {
    return std::filesystem::path(std::string(utf8));
}

std::string utf8_path(const std::filesystem::path& path) {
    return path.native();
}

std::vector<std::string> program_arguments(int argc, char** argv) {
    if (argc < 1) {
        return {};
    }
    return std::vector<std::string>(argv + 1, argv + argc);
}

char path_separator() { return '/'; }

void use_utf8_console() {}

}  // namespace vorelbox::common
