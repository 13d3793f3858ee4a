#pragma once
// The log file "Vorelbox.log", locked for the whole run so that a second copy
// of the program started with the same log notices the first. The operating
// system drops the lock when the process ends, also after a crash. On Windows
// the lock is the file opened without sharing; elsewhere, flock on it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "instance_start.h"

namespace vorelbox::core {

class InstanceLock {
public:
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    LockState state() const { return state_; }
    // True when this run holds the lock; the log file is then empty.
    bool locked() const { return state_ == LockState::Held; }
    const std::string& path() const { return path_; }
    // Why the file could not be made or locked, in the system's words.
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    LockState state_ = LockState::CannotCreate;
    std::string reason_;
    // The open log: a descriptor, or a Windows handle (instance_lock_*.cpp).
    std::intptr_t file_ = -1;
};

// Locks "Vorelbox.log" in the first of the folders where it can be made. The
// result is held by this run or busy (another copy holds it); when no folder
// will do, it names the first folder's file and why that failed.
std::unique_ptr<InstanceLock> lock_first_possible(const std::vector<std::string>& folders);

}  // namespace vorelbox::core
