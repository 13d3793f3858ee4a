#pragma once
// Windows tests: another process that holds a file open (tests/windows/hold_file.cpp).

#include <windows.h>

#include <string>

#include "windows_text.h"

namespace vorelbox::support {

class FileHeldByAnotherProcess {
public:
    // Starts the holder on `path` and waits until it has the file open.
    explicit FileHeldByAnotherProcess(const std::string& path) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE child_in = nullptr;
        HANDLE child_out = nullptr;
        if (!::CreatePipe(&child_in, &to_child_, &inherit, 0) || !::CreatePipe(&from_child_, &child_out, &inherit, 0)) {
            return;
        }
        ::SetHandleInformation(to_child_, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(from_child_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = child_in;
        startup.hStdOutput = child_out;
        startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
        std::wstring command = L"\"" + common::to_wide(VORELBOX_HOLD_FILE) + L"\" \"" + common::to_wide(path) + L"\"";
        PROCESS_INFORMATION info{};
        const bool started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                              &startup, &info);
        ::CloseHandle(child_in);
        ::CloseHandle(child_out);
        if (!started) {
            return;
        }
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
        char said[8] = {};
        DWORD got = 0;
        held_ = ::ReadFile(from_child_, said, 4, &got, nullptr) && got == 4 && std::string(said, 4) == "held";
    }
    ~FileHeldByAnotherProcess() { release(); }
    FileHeldByAnotherProcess(const FileHeldByAnotherProcess&) = delete;
    FileHeldByAnotherProcess& operator=(const FileHeldByAnotherProcess&) = delete;

    bool held() const { return held_; }

    // Ends the holder, which closes the file.
    void release() {
        if (to_child_ != nullptr) {
            ::CloseHandle(to_child_);
            to_child_ = nullptr;
        }
        if (process_ != nullptr) {
            ::WaitForSingleObject(process_, 10000);
            ::CloseHandle(process_);
            process_ = nullptr;
        }
        if (from_child_ != nullptr) {
            ::CloseHandle(from_child_);
            from_child_ = nullptr;
        }
        held_ = false;
    }

private:
    HANDLE to_child_ = nullptr;
    HANDLE from_child_ = nullptr;
    HANDLE process_ = nullptr;
    bool held_ = false;
};

}  // namespace vorelbox::support
