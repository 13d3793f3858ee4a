#pragma once
// Byte-exact file access by unit number, for the binary readers and for storing
// clipboard text. The routines report failure only through their results.

#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::spectra {

// One open file per unit number.
class RawFileTable {
public:
    std::fstream* find(int unit);
    std::fstream& open(int unit);  // a fresh stream for the unit, closing an older one
    void close(int unit);

private:
    std::map<int, std::fstream> files_;
};

// Only regular files are opened: a FIFO, a device or a folder is refused, so
// that no open or read waits for ever. Trailing blanks of the name are ignored;
// a name holding a NUL or another control character opens nothing.
// Opens an existing file for reading; false when it cannot be opened.
bool OPEN_READ(RawFileTable& files, int unit, std::string_view file_name);
// Creates the file for writing, replacing an existing one; false when it cannot be created.
bool OPEN_WRITE(RawFileTable& files, int unit, std::string_view file_name);
void CLOSE_FILE(RawFileTable& files, int unit);
// Size of the file in bytes; -1 when no file is open on the unit.
std::int64_t LEN_FILE(RawFileTable& files, int unit);
// `count` bytes from byte offset `position` (0 = start of the file); nothing when
// the unit is not open or the file holds fewer bytes there.
std::optional<std::string> READ_CHARS(RawFileTable& files, int unit, std::int64_t position,
                                      std::size_t count);
std::optional<std::vector<std::uint8_t>> READ_BYTES(RawFileTable& files, int unit,
                                                    std::int64_t position, std::size_t count);
// A 32-bit little-endian integer at `position`.
std::optional<std::int32_t> READ_LONG(RawFileTable& files, int unit, std::int64_t position);
// Writes the bytes at the current position.
bool WRITE_BYTES(RawFileTable& files, int unit, std::string_view bytes);

}  // namespace vorelbox::spectra
