// Reading an input file on Windows: the wide name, a check that it is a file on
// a disk (not a console, a printer port or a pipe, which could block or feed
// the program for ever), and a handle that lets others go on using the file.

#include <windows.h>

#include <algorithm>

#include "input_file_system.h"
#include "windows_text.h"

namespace vorelbox::common::detail {
namespace {

constexpr std::size_t chunk = 64 * 1024;

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

InputFile read_regular_file(const std::string& name, std::int64_t limit) {
    InputFile f;
    const std::wstring wide = to_wide(name);
    // A folder or a device is known by its attributes without opening it.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        f.problem = InputProblem::NotRegular;
        return f;
    }
    const Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                    nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        f.problem = InputProblem::CannotOpen;
        return f;
    }
    // CON, NUL, COM1... open without complaint: the handle tells what they are.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        f.problem = InputProblem::NotRegular;
        return f;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        f.problem = InputProblem::ReadError;
        return f;
    }
    if (size.QuadPart > limit) {
        f.problem = InputProblem::TooLarge;
        f.size = size.QuadPart;
        return f;
    }
    // The file can grow while it is read: reading goes on to its true end,
    // within the limit.
    std::size_t capacity = static_cast<std::size_t>(std::max<LONGLONG>(size.QuadPart, 0)) + 1;
    std::string& text = f.text;
    text.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            capacity = std::min<std::size_t>(capacity + std::max(capacity / 2, chunk),
                                             static_cast<std::size_t>(limit) + 1);
            text.resize(capacity);
        }
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(capacity - used, 1u << 30));
        if (!::ReadFile(file.get(), text.data() + used, want, &got, nullptr)) {
            f = InputFile{};
            f.problem = InputProblem::ReadError;
            return f;
        }
        if (got == 0) {
            break;
        }
        used += got;
        if (static_cast<std::int64_t>(used) > limit) {
            f = InputFile{};
            f.problem = InputProblem::TooLarge;
            f.size = static_cast<std::int64_t>(used);
            return f;
        }
    }
    text.resize(used);
    f.size = static_cast<std::int64_t>(used);
    return f;
}

}  // namespace vorelbox::common::detail
