// Reading an input file on a POSIX system.

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "input_file_system.h"

namespace vorelbox::common::detail {
namespace {

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

InputFile read_regular_file(const std::string& name, std::int64_t limit, Beyond beyond) {
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
    if (opened.st_size > limit && beyond == Beyond::Refused) {
        f.problem = InputProblem::TooLarge;
        f.size = static_cast<std::int64_t>(opened.st_size);
        return f;
    }
    return read_to_end(static_cast<std::int64_t>(opened.st_size), limit, [&fd](char* data, std::size_t size) {
        for (;;) {
            const ssize_t got = ::read(fd.get(), data, size);
            if (got >= 0 || errno != EINTR) {
                return static_cast<std::int64_t>(got);
            }
        }
    }, beyond);
}

}  // namespace vorelbox::common::detail
