#pragma once
// Starting another program of the package: vorelbox-cli hands `plot` to
// vorelbox-plot this way.

#include <string>
#include <vector>

namespace vorelbox::common {

// The file of the running program (UTF-8), or `argv0` made absolute where the
// system does not say.
std::string own_program_file(const char* argv0);

// `name` as the system names programs: "name.exe" on Windows, "name" elsewhere.
std::string program_file_name(const std::string& name);

// Runs `program` with `args` (after its own name), its standard streams this
// program's, and gives its exit status, or -1 when it could not be started. On
// POSIX systems this program is replaced by it and returns only on failure.
int run_program(const std::string& program, const std::vector<std::string>& args);

}  // namespace vorelbox::common
