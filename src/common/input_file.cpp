#include "input_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#if defined(_WIN32)
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "text_utils.h"

namespace vorelbox::common {
namespace {

// The name as the system sees it: trailing blanks removed. A name holding a NUL
// or another control character names no file, so it comes back empty.
std::string os_name(std::string_view path) {
    const std::string_view name = trim_right(path);
    return has_control_char(name) ? std::string() : std::string(name);
}

// Bytes read at a time once the size the file claims has been read.
constexpr std::size_t chunk = 64 * 1024;

#if defined(_WIN32)

InputFile read_regular(const std::string& name, std::int64_t limit) {
    InputFile f;
    std::error_code ec;
    const std::filesystem::path path(name);
    if (!std::filesystem::exists(path, ec)) {
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    if (!std::filesystem::is_regular_file(path, ec)) {
        f.problem = InputProblem::NotRegular;
        return f;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && static_cast<std::uintmax_t>(size) > static_cast<std::uintmax_t>(limit)) {
        f.problem = InputProblem::TooLarge;
        f.size = static_cast<std::int64_t>(size);
        return f;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    std::string buffer(chunk, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (static_cast<std::int64_t>(f.text.size() + got) > limit) {
            f = InputFile{};
            f.problem = InputProblem::TooLarge;
            f.size = limit + 1;
            return f;
        }
        f.text.append(buffer.data(), got);
    }
    if (in.bad()) {
        f = InputFile{};
        f.problem = InputProblem::ReadError;
        return f;
    }
    f.size = static_cast<std::int64_t>(f.text.size());
    return f;
}

#else

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

InputFile read_regular(const std::string& name, std::int64_t limit) {
    InputFile f;
    // The kind is checked before the file is opened, so that no device is opened
    // at all, and again on the open file, in case the name was changed between.
    struct stat before {};
    if (::stat(name.c_str(), &before) != 0) {
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    if (!S_ISREG(before.st_mode)) {
        f.problem = InputProblem::NotRegular;
        return f;
    }
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const Descriptor fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0) {
        f.problem = InputProblem::ReadError;
        return f;
    }
    if (!S_ISREG(opened.st_mode)) {
        f.problem = InputProblem::NotRegular;
        return f;
    }
    if (opened.st_size > limit) {
        f.problem = InputProblem::TooLarge;
        f.size = static_cast<std::int64_t>(opened.st_size);
        return f;
    }
    // The size is where reading starts; a file can be longer than it says (files
    // of the kernel say 0), so reading goes on to the true end, within the limit.
    std::size_t capacity = static_cast<std::size_t>(std::max<off_t>(opened.st_size, 0)) + 1;
    std::string& text = f.text;
    text.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            capacity = std::min<std::size_t>(capacity + std::max(capacity / 2, chunk),
                                             static_cast<std::size_t>(limit) + 1);
            text.resize(capacity);
        }
        const ssize_t got = ::read(fd.get(), text.data() + used, capacity - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
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

#endif

}  // namespace

InputFile read_input_file(std::string_view path, std::int64_t limit) {
    const std::string name = os_name(path);
    if (name.empty()) {
        InputFile f;
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    return read_regular(name, std::max<std::int64_t>(limit, 0));
}

bool is_regular_file_name(std::string_view path) {
    const std::string name = os_name(path);
    std::error_code ec;
    return !name.empty() && std::filesystem::is_regular_file(name, ec);
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

}  // namespace vorelbox::common
