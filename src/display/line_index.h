#pragma once
// Where the lines of a text file start, so that the viewer reaches any line with
// one seek instead of reading the file from the top. The index keeps the offset
// of every STRIDE-th line only: a line is found by a seek and at most STRIDE - 1
// skipped lines, and a file of short lines costs little memory.
//
// Lines end at '\n'; a '\r' before it is dropped, and a last line without a line
// end is a line too. A blank first line is not shown: the shown line 1 is then
// the file's second line.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace vorelbox::display {

using LineNumber = std::int64_t;

// What tells that a file changed since it was indexed.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const FileStamp&) const = default;
};

// Nothing when the file cannot be inspected.
std::optional<FileStamp> file_stamp(const std::filesystem::path& path);

struct LineIndex {
    static constexpr LineNumber STRIDE = 64;

    LineNumber records = 0;             // lines of the file, a blank first one included
    std::uint64_t longest = 0;          // bytes of the longest line, without its line end
    bool blank_first = false;           // the first line is blank and is not shown
    std::vector<std::uint64_t> starts;  // offsets of lines 0, STRIDE, 2 * STRIDE, ... (0-based)
    FileStamp stamp;                    // the file as it was when indexed

    // The lines as shown and searched.
    LineNumber lines() const { return records - (blank_first ? 1 : 0); }
};

// Reads the stream to its end.
LineIndex build_line_index(std::istream& in);

// The index of a file with its stamp; nothing when the file cannot be read.
std::optional<LineIndex> index_file(const std::filesystem::path& path);

// Reads the shown lines of an indexed stream, from any line on.
class LineReader {
public:
    LineReader(std::istream& in, const LineIndex& index);

    // Makes `line` (1-based, as shown) the next one read; false past the last line.
    bool seek(LineNumber line);

    // The next line's first max_bytes bytes, without its line end; nothing at the end.
    std::optional<std::string> next(std::size_t max_bytes);

    // The number of the line that next() returns.
    LineNumber line() const { return next_line_; }

private:
    bool fill();

    std::istream& in_;
    const LineIndex& index_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    LineNumber next_line_ = 1;
};

}  // namespace vorelbox::display
