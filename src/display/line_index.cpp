#include "line_index.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

#include "input_file.h"
#include "text_utils.h"

namespace vorelbox::display {
namespace {

constexpr std::size_t CHUNK = std::size_t{1} << 20;
constexpr std::size_t READ_BUFFER = std::size_t{1} << 16;

}  // namespace

std::optional<FileStamp> file_stamp(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) {
        return std::nullopt;
    }
    return FileStamp{size, modified};
}

LineIndex build_line_index(std::istream& in) {
    LineIndex index;
    std::vector<char> chunk(CHUNK);
    std::uint64_t offset = 0;        // of the chunk's first byte in the stream
    std::uint64_t line_start = 0;    // of the line being read
    bool in_line = false;            // some byte of the current line was read
    bool first_blank = true;         // line 0 holds blanks only, so far
    char previous = '\0';            // the byte before the current one

    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            break;
        }
        std::size_t pos = 0;
        while (pos < got) {
            if (!in_line) {
                in_line = true;
                if (index.records % LineIndex::STRIDE == 0) {
                    index.starts.push_back(line_start);
                }
            }
            const void* found = std::memchr(chunk.data() + pos, '\n', got - pos);
            const std::size_t stop =
                found == nullptr ? got : static_cast<std::size_t>(static_cast<const char*>(found) - chunk.data());
            if (index.records == 0 && first_blank) {
                first_blank = std::all_of(chunk.data() + pos, chunk.data() + stop, common::is_blank_char);
            }
            if (stop > pos) {
                previous = chunk[stop - 1];
            }
            if (found == nullptr) {
                break;
            }
            // A line ends at offset + stop.
            std::uint64_t length = offset + stop - line_start;
            if (length > 0 && previous == '\r') {
                --length;
            }
            index.longest = std::max(index.longest, length);
            if (index.records == 0) {
                index.blank_first = first_blank;
            }
            ++index.records;
            line_start = offset + stop + 1;
            in_line = false;
            previous = '\0';
            pos = stop + 1;
        }
        offset += got;
    }
    if (in_line) {
        // The last line has no line end.
        std::uint64_t length = offset - line_start;
        if (length > 0 && previous == '\r') {
            --length;
        }
        index.longest = std::max(index.longest, length);
        if (index.records == 0) {
            index.blank_first = first_blank;
        }
        ++index.records;
    }
    return index;
}

std::optional<LineIndex> index_file(const std::filesystem::path& path) {
    // The stamp is taken first: a change while the file is read shows as a
    // changed stamp at the next look.
    const auto stamp = file_stamp(path);
    if (!stamp || !common::is_regular_file_name(path.string())) {
        return std::nullopt;  // a FIFO or a device would never end
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    LineIndex index = build_line_index(in);
    if (in.bad()) {
        return std::nullopt;
    }
    index.stamp = *stamp;
    return index;
}

LineReader::LineReader(std::istream& in, const LineIndex& index)
    : in_(in), index_(index), buffer_(READ_BUFFER) {
    seek(1);
}

bool LineReader::seek(LineNumber line) {
    line = std::max<LineNumber>(line, 1);
    const LineNumber record = line - 1 + (index_.blank_first ? 1 : 0);
    next_line_ = line;
    pos_ = end_ = 0;
    if (record >= index_.records) {
        return false;
    }
    const auto checkpoint = static_cast<std::size_t>(record / LineIndex::STRIDE);
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(index_.starts[checkpoint]));
    for (LineNumber skip = record - static_cast<LineNumber>(checkpoint) * LineIndex::STRIDE; skip > 0; --skip) {
        if (!next(0)) {
            return false;
        }
    }
    next_line_ = line;
    return true;
}

bool LineReader::fill() {
    if (!in_) {
        return false;
    }
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    pos_ = 0;
    end_ = static_cast<std::size_t>(in_.gcount());
    return end_ > 0;
}

std::optional<std::string> LineReader::next(std::size_t max_bytes) {
    std::string out;
    std::uint64_t length = 0;
    bool any = false;
    // One byte more than asked is kept, so that a '\r' ending a short line can be dropped.
    const std::size_t keep = max_bytes + 1;
    for (;;) {
        if (pos_ == end_ && !fill()) {
            break;
        }
        any = true;
        const char* start = buffer_.data() + pos_;
        const void* found = std::memchr(start, '\n', end_ - pos_);
        const std::size_t n = found == nullptr ? end_ - pos_ : static_cast<std::size_t>(static_cast<const char*>(found) - start);
        if (out.size() < keep) {
            out.append(start, std::min(n, keep - out.size()));
        }
        length += n;
        pos_ += n;
        if (found != nullptr) {
            ++pos_;
            break;
        }
    }
    if (!any) {
        return std::nullopt;
    }
    ++next_line_;
    if (length == out.size() && !out.empty() && out.back() == '\r') {
        out.pop_back();
    }
    if (out.size() > max_bytes) {
        out.resize(max_bytes);
    }
    return out;
}

}  // namespace vorelbox::display
