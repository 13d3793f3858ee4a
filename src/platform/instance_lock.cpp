#include "instance_lock.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vorelbox::platform {

#if defined(_WIN32)

InstanceLock::InstanceLock(const std::string& path) : path_(path) {
    // Opened without sharing, the file cannot be opened by a second copy.
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) {
        state_ = core::LockState::Held;
        return;
    }
    handle_ = nullptr;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) {
        state_ = core::LockState::Busy;
    } else {
        reason_ = "system error " + std::to_string(error);
    }
}

InstanceLock::~InstanceLock() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
}

#else

InstanceLock::InstanceLock(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        reason_ = std::strerror(errno);
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        if (error == EWOULDBLOCK) {
            state_ = core::LockState::Busy;
        } else {
            reason_ = std::strerror(error);
        }
        return;
    }
    // The log starts empty on every run that holds the lock.
    if (::ftruncate(fd_, 0) != 0) {
        // An old log that cannot be emptied still leaves the lock held.
    }
    state_ = core::LockState::Held;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

#endif

std::unique_ptr<InstanceLock> lock_first_possible(const std::vector<std::string>& folders) {
    std::unique_ptr<InstanceLock> first_failure;
    for (const std::string& folder : folders) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        const std::string path = (std::filesystem::path(folder) / core::LOG_FILE_NAME).string();
        auto lock = std::make_unique<InstanceLock>(path);
        if (lock->state() != core::LockState::CannotCreate) {
            return lock;
        }
        if (!first_failure) {
            first_failure = std::move(lock);
        }
    }
    return first_failure != nullptr ? std::move(first_failure) : std::make_unique<InstanceLock>(std::string());
}

}  // namespace vorelbox::platform
