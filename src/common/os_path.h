#pragma once
// Names of files are UTF-8 everywhere inside the program. The system's own
// names differ (UTF-16 on Windows): these turn one into the other at the edge,
// for std::filesystem and the file streams, and give the program's arguments
// in UTF-8.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::common {

// The system's path for a UTF-8 name. Bytes that are no UTF-8 become U+FFFD on
// Windows (such a name matches no file there); POSIX takes the bytes as they are.
std::filesystem::path os_path(std::string_view utf8);

// The UTF-8 name of a system path; never throws.
std::string utf8_path(const std::filesystem::path& path);

// The program's arguments after its own name, in UTF-8. On Windows they are
// read from the command line in UTF-16, since `argv` there holds only what the
// ANSI code page can spell.
std::vector<std::string> program_arguments(int argc, char** argv);

// The separator this system puts between a folder and a name: '\\' on Windows,
// '/' elsewhere (either is read on Windows).
char path_separator();

// Makes the console show UTF-8 text as such (Windows); nothing elsewhere.
void use_utf8_console();

}  // namespace vorelbox::common
