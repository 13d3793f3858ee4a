#pragma once
// vorelbox-cli column: a spectrum copied as text, checked as the paste command
// checks it, written as a native spectrum file.

#include <ostream>
#include <string>
#include <vector>

namespace vorelbox::cli {

// `column [--channels N] [--answer yes|no] TEXTFILE -o OUT.dat`: reads the values
// of TEXTFILE as one spectrum of N channels (0 or no option: as many as there are)
// and writes OUT.dat only when they are accepted. Prints one JSON object; exits
// CLI_OK when written, CLI_FAILED when stopped or not written, CLI_USAGE for a usage error.
int cli_column(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorelbox::cli
