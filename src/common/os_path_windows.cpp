// Names on Windows: UTF-16 for the system, UTF-8 inside the program.

#include "os_path.h"

#include <windows.h>
#include <shellapi.h>

#include "windows_text.h"

namespace vorelbox::common {

std::filesystem::path os_path(std::string_view utf8) {
    return std::filesystem::path(to_wide(utf8));
}

std::string utf8_path(const std::filesystem::path& path) {
    return to_utf8(path.native());
}

std::vector<std::string> program_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return argc < 1 ? std::vector<std::string>() : std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(to_utf8(wide[i]));
    }
    ::LocalFree(wide);
    return args;
}

char path_separator() { return '\\'; }

void use_utf8_console() {
    ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace vorelbox::common
