#pragma once
// vorelbox-cli: the program's file operations without a window.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "safe_file.h"

namespace vorelbox::common {
class JsonWriter;
}

namespace vorelbox::cli {

// Exit codes.
constexpr int CLI_OK = 0;
constexpr int CLI_FAILED = 1;
constexpr int CLI_USAGE = 2;

// How batch commands show their progress: on a terminal only, as a line that
// is rewritten ("converted 120/3000") on the error stream.
struct Progress {
    bool on_terminal = false;
    // Shows that `done` of `total` items are `verb` ("converted"); the last one ends the line.
    void show(std::ostream& err, std::string_view verb, std::size_t done, std::size_t total) const;
    // Clears the progress line before other text is written to the terminal.
    void clear(std::ostream& err) const;
};

// Runs one command; `args` excludes the program name. `--help`, `COMMAND --help`
// and `--version` print their texts to `out`; a usage error exits CLI_USAGE.
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Progress progress = {});

// `info [--counts] [--answer yes|no] FILE`: what the file holds, as one JSON object.
int cli_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `convert [--output-dir DIR] FILE...`: the native copy of each foreign file; the
// paths written are printed a line each, the messages go to the error stream.
int cli_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                Progress progress = {});

// `sum LIST.vsl --mode spectra|sum|both -o OUT.dat [--label TEXT]`: what "Save
// spectra" writes, without the questions.
int cli_sum(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `extract FILE [--spectrum K] [--first F] [--last L] [--append] -o OUT.dat`: what
// the converter's "&Save as" (or "&Append to") writes.
int cli_extract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `samples [--output-dir DIR] [--list-folder DIR]`: the made-up lifetime spectra
// of sample_spectra.h, written as files.
int cli_samples(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A usage error naming the first of `names` that holds a NUL or another
// control character, which no file name may hold; empty when none does.
std::string bad_name_error(const std::vector<std::string>& names);

// A failed save as one line: `headline`, then what went wrong.
std::string save_error(const std::string& headline, const common::SaveResult& result);

// The "messages" member of a report: the texts shown, line breaks as newlines.
void write_messages(common::JsonWriter& json, const std::vector<std::string>& messages);

}  // namespace vorelbox::cli
