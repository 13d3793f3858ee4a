#pragma once
// vorelbox-cli: the program's file operations without a window.

#include <ostream>
#include <string>
#include <vector>

namespace vorelbox::core {

// Exit codes.
constexpr int CLI_OK = 0;
constexpr int CLI_FAILED = 1;
constexpr int CLI_USAGE = 2;

// Runs one command; `args` excludes the program name.
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `info [--counts] [--answer yes|no] FILE`: what the file holds, as one JSON object.
int cli_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorelbox::core
