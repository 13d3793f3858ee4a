#pragma once
// Replacing a file in one step: the new content goes to a temporary file beside
// the old one, which is renamed over it only when everything was written.

#include <functional>
#include <ostream>
#include <string>

namespace vorelbox::common {

// True when `path` names an existing regular file (a folder is not one); the
// name is taken up to its first NUL character.
bool file_exists(const std::string& path);

// Calls `write` with a stream on a temporary file in the target's folder, then
// moves it over `path`. Returns false, with the old file untouched and the
// temporary file removed, when the file cannot be created or written, or when
// `write` returns false.
bool replace_file(const std::string& path, const std::function<bool(std::ostream&)>& write);

// Appends to `path` in one step: the old content and what `write` adds go to a
// temporary file beside it, which then replaces it. A missing file is created.
// Returns false, with the old file untouched, when anything fails.
bool append_to_file(const std::string& path, const std::function<bool(std::ostream&)>& write);

}  // namespace vorelbox::common
