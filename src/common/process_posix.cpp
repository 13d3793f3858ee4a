// Starting a program on a POSIX system: execv, so that the started program's
// exit status and signals are those of the command that was run.

#include "process.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

namespace vorelbox::common {

std::string own_program_file(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) {
        self = std::filesystem::absolute(std::filesystem::path(argv0 == nullptr ? "" : argv0), ec);
    }
    return self.string();
}

std::string program_file_name(const std::string& name) {
    return name;
}

int run_program(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> call{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) {
        call.push_back(const_cast<char*>(a.c_str()));
    }
    call.push_back(nullptr);
    std::cout.flush();
    ::execv(program.c_str(), call.data());
    return -1;
}

}  // namespace vorelbox::common
