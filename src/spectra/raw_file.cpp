#include "raw_file.h"

#include <filesystem>

#include "text_utils.h"
#include "os_path.h"

namespace vorelbox::spectra {
namespace {

// The name as the operating system should see it: trailing blanks removed.
// A name that still holds a NUL or another control character names no file,
// so it comes back empty.
std::string clean_name(std::string_view file_name) {
    const std::string_view name = common::trim_right(file_name);
    return common::has_control_char(name) ? std::string() : std::string(name);
}

// Only regular files are opened: opening a FIFO waits for a writer (or a
// reader), and a device may never end. A name that does not exist yet is
// fine for writing.
bool may_open(const std::string& name, std::ios::openmode mode) {
    std::error_code ec;
    const auto status = std::filesystem::status(common::os_path(name), ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return (mode & std::ios::out) != 0;
    }
    return !ec && status.type() == std::filesystem::file_type::regular;
}

bool open_file(RawFileTable& files, int unit, std::string_view file_name, std::ios::openmode mode) {
    std::fstream& stream = files.open(unit);
    const std::string name = clean_name(file_name);
    if (name.empty() || !may_open(name, mode)) {
        files.close(unit);
        return false;
    }
    stream.open(common::os_path(name), mode | std::ios::binary);
    if (!stream.is_open()) {
        files.close(unit);
        return false;
    }
    return true;
}

// Reads `count` bytes at `position` into `out`; false when fewer are there.
bool read_at(RawFileTable& files, int unit, std::int64_t position, char* out, std::size_t count) {
    std::fstream* stream = files.find(unit);
    if (stream == nullptr || position < 0) {
        return false;
    }
    stream->clear();
    stream->seekg(static_cast<std::streamoff>(position), std::ios::beg);
    if (!*stream) {
        stream->clear();
        return false;
    }
    if (count == 0) {
        return true;
    }
    stream->read(out, static_cast<std::streamsize>(count));
    const bool complete = stream->gcount() == static_cast<std::streamsize>(count);
    stream->clear();
    return complete;
}

}  // namespace

std::fstream* RawFileTable::find(int unit) {
    const auto it = files_.find(unit);
    return it == files_.end() ? nullptr : &it->second;
}

std::fstream& RawFileTable::open(int unit) {
    close(unit);
    return files_[unit];
}

void RawFileTable::close(int unit) {
    files_.erase(unit);
}

bool OPEN_READ(RawFileTable& files, int unit, std::string_view file_name) {
    return open_file(files, unit, file_name, std::ios::in);
}

bool OPEN_WRITE(RawFileTable& files, int unit, std::string_view file_name) {
    // Opened for reading too, so that what was written can be checked.
    return open_file(files, unit, file_name, std::ios::in | std::ios::out | std::ios::trunc);
}

void CLOSE_FILE(RawFileTable& files, int unit) {
    files.close(unit);
}

std::int64_t LEN_FILE(RawFileTable& files, int unit) {
    std::fstream* stream = files.find(unit);
    if (stream == nullptr) {
        return -1;
    }
    // The file buffer keeps one position for reading and writing; measure the
    // size from the end and go back to where the file was.
    std::filebuf* buffer = stream->rdbuf();
    const std::streampos here = buffer->pubseekoff(0, std::ios::cur);
    const std::streampos end = buffer->pubseekoff(0, std::ios::end);
    if (here != std::streampos(-1)) {
        buffer->pubseekpos(here);
    }
    if (end == std::streampos(-1)) {
        return -1;
    }
    return static_cast<std::int64_t>(end);
}

std::optional<std::string> READ_CHARS(RawFileTable& files, int unit, std::int64_t position,
                                      std::size_t count) {
    std::string out(count, '\0');
    if (!read_at(files, unit, position, out.data(), count)) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> READ_BYTES(RawFileTable& files, int unit,
                                                    std::int64_t position, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    if (!read_at(files, unit, position, reinterpret_cast<char*>(out.data()), count)) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::int32_t> READ_LONG(RawFileTable& files, int unit, std::int64_t position) {
    const auto bytes = READ_BYTES(files, unit, position, 4);
    if (!bytes) {
        return std::nullopt;
    }
    const std::uint32_t value = static_cast<std::uint32_t>((*bytes)[0]) |
                                (static_cast<std::uint32_t>((*bytes)[1]) << 8) |
                                (static_cast<std::uint32_t>((*bytes)[2]) << 16) |
                                (static_cast<std::uint32_t>((*bytes)[3]) << 24);
    return static_cast<std::int32_t>(value);
}

bool WRITE_BYTES(RawFileTable& files, int unit, std::string_view bytes) {
    std::fstream* stream = files.find(unit);
    if (stream == nullptr) {
        return false;
    }
    stream->clear();
    // A seek is needed between reading and writing the same file.
    stream->seekp(0, std::ios::cur);
    stream->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const bool ok = static_cast<bool>(*stream);
    stream->clear();
    return ok;
}

}  // namespace vorelbox::spectra
