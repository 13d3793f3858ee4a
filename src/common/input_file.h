#pragma once
// Reading a whole input file (a spectrum file, a spectrum list, the settings) into
// memory, within bounds: only a regular file is opened, so that a FIFO, a device or
// a folder never blocks or feeds the program for ever, and no file larger than
// MAX_INPUT_FILE_BYTES is read.

#include <cstdint>
#include <string>
#include <string_view>

namespace vorelbox::common {

// The largest input file read: 256 MiB. The largest real spectrum file is a few
// hundred kilobytes; 100 spectra of 65,536 channels written ten counts of 8
// columns a line come to about 60 MB, so only a file that is not a spectrum file
// (or is damaged) comes near this.
inline constexpr std::int64_t MAX_INPUT_FILE_BYTES = std::int64_t{256} * 1024 * 1024;

enum class InputProblem {
    None,
    CannotOpen,  // missing, or no permission
    NotRegular,  // a folder, a FIFO, a device, a socket
    TooLarge,    // above the limit
    ReadError,   // opened, but reading failed
};

struct InputFile {
    std::string text;
    InputProblem problem = InputProblem::None;
    std::int64_t size = 0;  // bytes of the file, also of one too large to be read
    bool ok() const { return problem == InputProblem::None; }
};

// Reads the whole file, never more than `limit` bytes: a file found to hold more
// (also one that grows while it is read) is TooLarge and its text is not kept.
// Trailing blanks of the name are ignored; a name holding a NUL or another
// control character names no file (CannotOpen).
InputFile read_input_file(std::string_view path, std::int64_t limit = MAX_INPUT_FILE_BYTES);

// Reads the start of the file: its first `max_bytes` bytes, or all of a shorter
// one; a longer file is no problem. For formats whose data stand at known
// places, which need nothing after them.
InputFile read_input_start(std::string_view path, std::int64_t max_bytes);

// True when the name is that of an existing regular file (symbolic links followed).
bool is_regular_file_name(std::string_view path);

// "The file NAME is too large to be read: N bytes (at most 268435456)".
std::string too_large_text(std::string_view path, std::int64_t size, std::int64_t limit = MAX_INPUT_FILE_BYTES);

// The message for a failed read: `cannot_open` (the caller's own words) for a file
// that cannot be opened or is not a regular file, too_large_text for one too large,
// "Error reading file: NAME" for a read error.
std::string input_problem_text(const InputFile& file, std::string_view path, const std::string& cannot_open);

}  // namespace vorelbox::common
