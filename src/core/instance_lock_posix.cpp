// The lock on a POSIX system: flock on the open log.

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "instance_lock.h"

namespace vorelbox::core {

InstanceLock::InstanceLock(const std::string& path) : path_(path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        reason_ = std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            state_ = LockState::Busy;
        } else {
            reason_ = std::strerror(error);
        }
        return;
    }
    // The log starts empty on every run that holds the lock.
    if (::ftruncate(fd, 0) != 0) {
        // An old log that cannot be emptied still leaves the lock held.
    }
    file_ = fd;
    state_ = LockState::Held;
}

InstanceLock::~InstanceLock() {
    if (file_ >= 0) {
        ::flock(static_cast<int>(file_), LOCK_UN);
        ::close(static_cast<int>(file_));
    }
}

}  // namespace vorelbox::core
