#pragma once
// The log file "Vorelbox.log" in the current folder, locked for the whole run so
// that a second copy of the program refuses to start. The operating system drops
// the lock when the process ends, also after a crash.

#include <string>

namespace vorelbox::platform {

class InstanceLock {
public:
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this run holds the lock; the log file is then empty.
    bool locked() const { return locked_; }

private:
    bool locked_ = false;
#if defined(_WIN32)
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace vorelbox::platform
