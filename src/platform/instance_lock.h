#pragma once
// The log file "Vorelbox.log", locked for the whole run so that a second copy
// of the program started with the same log notices the first. The operating
// system drops the lock when the process ends, also after a crash.

#include <memory>
#include <string>
#include <vector>

#include "instance_start.h"

namespace vorelbox::platform {

class InstanceLock {
public:
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    core::LockState state() const { return state_; }
    // True when this run holds the lock; the log file is then empty.
    bool locked() const { return state_ == core::LockState::Held; }
    const std::string& path() const { return path_; }
    // Why the file could not be made or locked, in the system's words.
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    core::LockState state_ = core::LockState::CannotCreate;
    std::string reason_;
#if defined(_WIN32)
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Locks "Vorelbox.log" in the first of the folders where it can be made. The
// result is held by this run or busy (another copy holds it); when no folder
// will do, it names the first folder's file and why that failed.
std::unique_ptr<InstanceLock> lock_first_possible(const std::vector<std::string>& folders);

}  // namespace vorelbox::platform
