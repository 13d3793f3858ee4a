// Reading an input file on a POSIX system.

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "input_file_system.h"

namespace vorelbox::common::detail {
namespace {

// Bytes read at a time once the size the file claims has been read.
constexpr std::size_t chunk = 64 * 1024;

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

}  // namespace

InputFile read_regular_file(const std::string& name, std::int64_t limit) {
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

}  // namespace vorelbox::common::detail
