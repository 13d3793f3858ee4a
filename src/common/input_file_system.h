#pragma once
// The system's side of read_input_file (input_file_posix.cpp, input_file_windows.cpp).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "input_file.h"

namespace vorelbox::common::detail {

// What a file longer than the limit is: TooLarge, or read up to the limit.
enum class Beyond { Refused, Cut };

// Reads the regular file `name` (UTF-8, already checked for control
// characters), never more than `limit` bytes.
InputFile read_regular_file(const std::string& name, std::int64_t limit, Beyond beyond = Beyond::Refused);

// One read of up to `size` bytes into `data`: the count read, 0 at the end of
// the file, or a negative number on an error.
using ReadSome = std::function<std::int64_t(char* data, std::size_t size)>;

// Reads an open file to its true end, starting from the size it claims: a file
// can be longer than it says (files of the kernel say 0) or grow while it is
// read. More than `limit` bytes make it TooLarge, or, when they are cut, end
// the reading there.
InputFile read_to_end(std::int64_t claimed_size, std::int64_t limit, const ReadSome& read_some,
                      Beyond beyond = Beyond::Refused);

}  // namespace vorelbox::common::detail
