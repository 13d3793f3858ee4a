// The file operations on Windows. Names arrive in UTF-8 and go to the wide
// (UTF-16) calls of the system. A save's temporary file replaces the old one
// with MoveFileExW, which replaces it in one step and returns only once the
// move is on the disk.

#include "file_ops.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>

#include "windows_text.h"

namespace vorelbox::common {
namespace {

// A file held open by another program (a virus scanner, an indexer, a viewer
// that has just opened it) is tried again for a little while before a save
// gives up on it.
constexpr int busy_tries = 10;
constexpr DWORD busy_wait_ms = 100;
constexpr unsigned write_bits = 0222;

HANDLE handle_of(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

Opened opened(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE) {
        return {-1, last_windows_error()};
    }
    return {reinterpret_cast<FileHandle>(handle), {}};
}

bool is_busy(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED;
}

// The last part of a name, as Windows reads it: after the last \ / or drive colon.
std::wstring last_part(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, also with an extension or trailing
// blanks and dots, name devices in every folder.
bool is_device_name(const std::wstring& path) {
    std::wstring name = last_part(path);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.')) {
        name.pop_back();
    }
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return std::towupper(c); });
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$" ||
        name == L"CONOUT$") {
        return true;
    }
    return name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0) &&
           name[3] >= L'1' && name[3] <= L'9';
}

// "\\.\" and "\\?\GLOBALROOT\" names reach devices too.
bool is_device_path(const std::wstring& path) {
    return path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"//./", 0) == 0 || is_device_name(path);
}

class WindowsFileOps final : public FileOps {
public:
    FileStatus status(const std::string& path) override {
        FileStatus s;
        const std::wstring name = to_wide(path);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) {
            const DWORD code = ::GetLastError();
            if (is_device_path(name)) {
                s.kind = FileKind::Other;
            } else if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
                s.error = windows_error(code);
            }
            return s;
        }
        if (is_device_path(name)) {
            s.kind = FileKind::Other;
        } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            s.kind = FileKind::Folder;
        } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
            s.kind = FileKind::Other;
        } else {
            s.kind = FileKind::Regular;
            s.size = (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
        // Windows knows only the read-only attribute.
        s.permissions = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444u : 0666u;
        return s;
    }

    // Links are not followed on Windows: a save replaces what the name names.
    std::optional<std::string> link_target(const std::string&) override { return std::nullopt; }

    bool can_write(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesW(to_wide(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        // A folder's read-only attribute only marks it for Explorer; whether
        // files can be made in it is known when the temporary file is made.
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || (attributes & FILE_ATTRIBUTE_READONLY) == 0;
    }

    // Windows cannot make a file without a name: the temporary file is named.
    Opened create_unnamed(const std::string&, unsigned) override {
        return {-1, std::make_error_code(std::errc::operation_not_supported)};
    }

    std::error_code give_name(FileHandle, const std::string&) override {
        return std::make_error_code(std::errc::operation_not_supported);
    }

    Opened create_new(const std::string& path, unsigned permissions) override {
        // Nobody else may open the temporary file while it is written.
        const DWORD attributes = (permissions & write_bits) == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
        return opened(::CreateFileW(to_wide(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                    CREATE_NEW, attributes, nullptr));
    }

    std::error_code set_permissions(FileHandle file, unsigned permissions) override {
        FILE_BASIC_INFO info{};
        if (!::GetFileInformationByHandleEx(handle_of(file), FileBasicInfo, &info, sizeof info)) {
            return last_windows_error();
        }
        if ((permissions & write_bits) == 0) {
            info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
        } else {
            info.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        }
        if (info.FileAttributes == 0) {
            info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        }
        if (!::SetFileInformationByHandle(handle_of(file), FileBasicInfo, &info, sizeof info)) {
            return last_windows_error();
        }
        return {};
    }

    Opened open_read(const std::string& path) override {
        // Others may go on reading, writing, renaming or removing it meanwhile,
        // as they may on POSIX systems.
        return opened(::CreateFileW(to_wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    }

    Transferred read(FileHandle file, char* data, std::size_t size) override {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(handle_of(file), data, want, &got, nullptr)) {
            return {0, last_windows_error()};
        }
        return {got, {}};
    }

    Transferred write(FileHandle file, const char* data, std::size_t size) override {
        Transferred t;
        while (t.bytes < size) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - t.bytes, 1u << 30));
            DWORD done = 0;
            if (!::WriteFile(handle_of(file), data + t.bytes, want, &done, nullptr)) {
                t.error = last_windows_error();
                break;
            }
            if (done == 0) {
                t.error = std::make_error_code(std::errc::io_error);
                break;
            }
            t.bytes += done;
        }
        return t;
    }

    std::error_code sync(FileHandle file) override {
        if (!::FlushFileBuffers(handle_of(file))) {
            return last_windows_error();
        }
        return {};
    }

    std::error_code close(FileHandle file) override {
        if (!::CloseHandle(handle_of(file))) {
            return last_windows_error();
        }
        return {};
    }

    std::error_code rename(const std::string& from, const std::string& to) override {
        const std::wstring source = to_wide(from);
        const std::wstring target = to_wide(to);
        DWORD code = ERROR_SUCCESS;
        for (int attempt = 0; attempt < busy_tries; ++attempt) {
            if (attempt > 0) {
                ::Sleep(busy_wait_ms);
            }
            if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                return {};
            }
            code = ::GetLastError();
            if (!is_busy(code)) {
                break;
            }
        }
        return windows_error(code);
    }

    std::error_code remove(const std::string& path) override {
        const std::wstring name = to_wide(path);
        DWORD code = ERROR_SUCCESS;
        for (int attempt = 0; attempt < busy_tries; ++attempt) {
            if (attempt > 0) {
                ::Sleep(busy_wait_ms);
            }
            if (::DeleteFileW(name.c_str())) {
                return {};
            }
            code = ::GetLastError();
            if (code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION) {
                break;
            }
        }
        return windows_error(code);
    }

    // A folder cannot be flushed without administrator rights; MoveFileExW with
    // MOVEFILE_WRITE_THROUGH has put the new name on the disk already.
    std::error_code sync_folder(const std::string&) override { return {}; }

    std::vector<std::string> folder_entries(const std::string& folder) override {
        std::vector<std::string> names;
        std::wstring pattern = to_wide(folder);
        if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
            pattern += L'\\';
        }
        pattern += L'*';
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                                 nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            names.push_back(to_utf8(found.cFileName));
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }

    int process_id() override { return static_cast<int>(::GetCurrentProcessId()); }

    bool process_running(int id) override {
        if (id <= 0) {
            return false;
        }
        const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
        if (process == nullptr) {
            // Another user's process cannot be opened, but it runs.
            return ::GetLastError() == ERROR_ACCESS_DENIED;
        }
        DWORD exit_code = 0;
        const bool running = ::GetExitCodeProcess(process, &exit_code) && exit_code == STILL_ACTIVE;
        ::CloseHandle(process);
        return running;
    }
};

}  // namespace

FileOps& system_file_ops() {
    static WindowsFileOps ops;
    return ops;
}

LineEnds system_line_ends() {
    return LineEnds::Crlf;
}

}  // namespace vorelbox::common
