#include "windows_text.h"

#include <windows.h>

namespace vorelbox::common {
namespace {

class WindowsCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }

    std::string message(int code) const override {
        wchar_t* text = nullptr;
        const DWORD length = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string message;
        if (length > 0 && text != nullptr) {
            message = to_utf8(std::wstring_view(text, length));
        }
        ::LocalFree(text);
        // The system's texts end with a full stop and a line end.
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                    message.back() == '.')) {
            message.pop_back();
        }
        if (message.empty()) {
            message = "Windows error " + std::to_string(code);
        }
        return message;
    }

    std::error_condition default_error_condition(int code) const noexcept override {
        switch (code) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_DRIVE:
            case ERROR_BAD_NETPATH:
            case ERROR_BAD_NET_NAME:
                return std::errc::no_such_file_or_directory;
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS:
                return std::errc::file_exists;
            case ERROR_ACCESS_DENIED:
            case ERROR_WRITE_PROTECT:
                return std::errc::permission_denied;
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION:
                return std::errc::device_or_resource_busy;
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
                return std::errc::no_space_on_device;
            case ERROR_INVALID_NAME:
            case ERROR_BAD_PATHNAME:
            case ERROR_DIRECTORY:
            case ERROR_FILENAME_EXCED_RANGE:
                return std::errc::invalid_argument;
            case ERROR_NOT_SUPPORTED:
            case ERROR_CALL_NOT_IMPLEMENTED:
                return std::errc::operation_not_supported;
            default:
                return {code, *this};
        }
    }
};

}  // namespace

std::wstring to_wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    }
    return wide;
}

std::string to_utf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    }
    return utf8;
}

std::error_code windows_error(unsigned long code) {
    static const WindowsCategory category;
    return {static_cast<int>(code), category};
}

std::error_code last_windows_error() {
    return windows_error(::GetLastError());
}

}  // namespace vorelbox::common
