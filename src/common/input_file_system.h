#pragma once
// The system's side of read_input_file (input_file_posix.cpp, input_file_windows.cpp).

#include <cstdint>
#include <string>

#include "input_file.h"

namespace vorelbox::common::detail {

// Reads the regular file `name` (UTF-8, already checked for control
// characters), never more than `limit` bytes.
InputFile read_regular_file(const std::string& name, std::int64_t limit);

}  // namespace vorelbox::common::detail
