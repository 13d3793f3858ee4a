// The lock on Windows: the log opened without sharing for writing, so that a
// second copy cannot open it at all ("Sharing violation").

#include <windows.h>

#include "instance_lock.h"
#include "windows_text.h"

namespace vorelbox::core {

InstanceLock::InstanceLock(const std::string& path) : path_(path) {
    // Others may read the log, never write or remove it. CREATE_ALWAYS empties it.
    const HANDLE handle = ::CreateFileW(common::to_wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        file_ = reinterpret_cast<std::intptr_t>(handle);
        state_ = LockState::Held;
        return;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        state_ = LockState::Busy;
    } else {
        reason_ = common::windows_error(error).message();
    }
}

InstanceLock::~InstanceLock() {
    if (file_ != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(file_));
    }
}

}  // namespace vorelbox::core
