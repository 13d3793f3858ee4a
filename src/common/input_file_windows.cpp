// Reading an input file on Windows: the wide name, a check that it is a file on
// a disk (not a console, a printer port or a pipe, which could block or feed
// the program for ever), and a handle that lets others go on using the file.

#include <windows.h>

#include <algorithm>

#include "input_file_system.h"
#include "windows_text.h"

namespace vorelbox::common::detail {
namespace {

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

InputFile read_regular_file(const std::string& name, std::int64_t limit, Beyond beyond) {
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
    if (size.QuadPart > limit && beyond == Beyond::Refused) {
        f.problem = InputProblem::TooLarge;
        f.size = size.QuadPart;
        return f;
    }
    return read_to_end(size.QuadPart, limit, [&file](char* data, std::size_t room) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30));
        return ::ReadFile(file.get(), data, want, &got, nullptr) ? static_cast<std::int64_t>(got) : std::int64_t{-1};
    }, beyond);
}

}  // namespace vorelbox::common::detail
