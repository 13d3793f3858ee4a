#include "input_file.h"

#include <algorithm>
#include <filesystem>

#include "input_file_system.h"
#include "os_path.h"
#include "text_utils.h"

namespace vorelbox::common {
namespace {

// The name as the system sees it: trailing blanks removed. A name holding a NUL
// or another control character names no file, so it comes back empty.
std::string os_name(std::string_view path) {
    const std::string_view name = trim_right(path);
    return has_control_char(name) ? std::string() : std::string(name);
}

InputFile read_named_file(std::string_view path, std::int64_t limit, detail::Beyond beyond) {
    const std::string name = os_name(path);
    if (name.empty()) {
        InputFile f;
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    return detail::read_regular_file(name, std::max<std::int64_t>(limit, 0), beyond);
}

}  // namespace

InputFile read_input_file(std::string_view path, std::int64_t limit) {
    return read_named_file(path, limit, detail::Beyond::Refused);
}

InputFile read_input_start(std::string_view path, std::int64_t max_bytes) {
    return read_named_file(path, max_bytes, detail::Beyond::Cut);
}

bool is_regular_file_name(std::string_view path) {
    const std::string name = os_name(path);
    std::error_code ec;
    return !name.empty() && std::filesystem::is_regular_file(os_path(name), ec);
}

std::string too_large_text(std::string_view path, std::int64_t size, std::int64_t limit) {
    return "The file " + std::string(trim_right(path)) + " is too large to be read: " + std::to_string(size) +
           " bytes (at most " + std::to_string(limit) + ")";
}

std::string input_problem_text(const InputFile& file, std::string_view path, const std::string& cannot_open) {
    switch (file.problem) {
        case InputProblem::None:
            return {};
        case InputProblem::CannotOpen:
        case InputProblem::NotRegular:
            return cannot_open;
        case InputProblem::TooLarge:
            return too_large_text(path, file.size);
        case InputProblem::ReadError:
            break;
    }
    return "Error reading file: " + std::string(trim_right(path));
}

namespace detail {

InputFile read_to_end(std::int64_t claimed_size, std::int64_t limit, const ReadSome& read_some, Beyond beyond) {
    // Bytes read at a time once the size the file claims has been read.
    constexpr std::size_t chunk = 64 * 1024;
    InputFile f;
    // Room for one byte more than may be kept, so that a file that goes on is
    // seen; a file that is cut is read up to the limit only.
    const std::size_t room = static_cast<std::size_t>(limit) + (beyond == Beyond::Cut ? 0 : 1);
    // One byte more than the file claims, so that the end is seen in the first read.
    std::size_t capacity = std::min(static_cast<std::size_t>(std::max<std::int64_t>(claimed_size, 0)) + 1, room);
    std::string& text = f.text;
    text.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            if (capacity == room && beyond == Beyond::Cut) {
                break;
            }
            capacity = std::min<std::size_t>(capacity + std::max(capacity / 2, chunk), room);
            text.resize(capacity);
        }
        const std::int64_t got = read_some(text.data() + used, capacity - used);
        if (got < 0) {
            f = InputFile{};
            f.problem = InputProblem::ReadError;
            return f;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
        if (static_cast<std::int64_t>(used) > limit) {
            f = InputFile{};
            f.problem = InputProblem::TooLarge;
            f.size = static_cast<std::int64_t>(used);
            return f;
        }
    }
    text.resize(used);
    f.size = static_cast<std::int64_t>(used);
    return f;
}

}  // namespace detail

}  // namespace vorelbox::common
