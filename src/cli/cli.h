#pragma once
// vorelbox-cli: the program's file operations without a window.

#include <ostream>
#include <string>
#include <vector>

namespace vorelbox::common {
class JsonWriter;
}

namespace vorelbox::cli {

// Exit codes.
constexpr int CLI_OK = 0;
constexpr int CLI_FAILED = 1;
constexpr int CLI_USAGE = 2;

// Runs one command; `args` excludes the program name.
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `info [--counts] [--answer yes|no] FILE`: what the file holds, as one JSON object.
int cli_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `convert [--output-dir DIR] FILE...`: the native copy of each foreign file; the
// paths written are printed a line each, the messages go to the error stream.
int cli_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `sum LIST.vsl --mode spectra|sum|both -o OUT.dat [--label TEXT]`: what "Save
// spectra" writes, without the questions.
int cli_sum(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `extract FILE [--spectrum K] [--first F] [--last L] [--append] -o OUT.dat`: what
// the converter's "&Save as" (or "&Append to") writes.
int cli_extract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The "messages" member of a report: the texts shown, line breaks as newlines.
void write_messages(common::JsonWriter& json, const std::vector<std::string>& messages);

}  // namespace vorelbox::cli
