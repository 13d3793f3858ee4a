#pragma once
// UTF-8 and UTF-16 on Windows, and the system's error codes as std::error_code.
// Only the Windows side of the seams includes this.

#include <string>
#include <string_view>
#include <system_error>

namespace vorelbox::common {

// UTF-16 for a UTF-8 text; bytes that are no UTF-8 become U+FFFD.
std::wstring to_wide(std::string_view utf8);
// UTF-8 for a UTF-16 text; a lone surrogate becomes U+FFFD.
std::string to_utf8(std::wstring_view wide);

// A code of GetLastError as an error code whose message is the system's text,
// and which compares equal to the matching std::errc (file_exists,
// no_such_file_or_directory, permission_denied, ...).
std::error_code windows_error(unsigned long code);
// windows_error(GetLastError()).
std::error_code last_windows_error();

}  // namespace vorelbox::common
