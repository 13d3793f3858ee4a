#include "instance_lock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vorelbox::platform {

#if defined(_WIN32)

InstanceLock::InstanceLock(const std::string& path) {
    // Opened without sharing, the file cannot be opened by a second copy.
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    locked_ = handle_ != INVALID_HANDLE_VALUE;
    if (!locked_) {
        handle_ = nullptr;
    }
}

InstanceLock::~InstanceLock() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
}

#else

InstanceLock::InstanceLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    // The log starts empty on every run that holds the lock.
    if (::ftruncate(fd_, 0) != 0) {
        // An old log that cannot be emptied still leaves the lock held.
    }
    locked_ = true;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

#endif

}  // namespace vorelbox::platform
