#pragma once
// The few file-system operations a save needs, behind one small interface: the
// system's own implementation does the calls, and tests put one in its place
// that fails a chosen write, flush, close or rename.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace vorelbox::common {

enum class FileKind { Missing, Regular, Folder, Link, Other };

struct FileStatus {
    FileKind kind = FileKind::Missing;
    unsigned permissions = 0;    // the nine read, write and execute bits
    std::uintmax_t size = 0;     // in bytes, for a regular file
    std::error_code error;       // why the status could not be read (a missing file is no error)
};

// An open file of the operations that opened it.
using FileHandle = std::intptr_t;

struct Opened {
    FileHandle file = -1;
    std::error_code error;
};

struct Transferred {
    std::size_t bytes = 0;   // what was read or written before any error
    std::error_code error;
};

class FileOps {
public:
    virtual ~FileOps() = default;

    // The status of `path` itself: a link is reported as a link, not followed.
    virtual FileStatus status(const std::string& path) = 0;
    // What the link `path` holds, as written in it (it may be relative).
    virtual std::optional<std::string> link_target(const std::string& path) = 0;
    // True when this program may write to the file or create files in the folder.
    virtual bool can_write(const std::string& path) = 0;

    // A new file in `folder` that has no name yet, so that nothing is left
    // behind when the program stops before naming it. An error when the file
    // system cannot create one (the caller then creates a named file).
    virtual Opened create_unnamed(const std::string& folder, unsigned permissions) = 0;
    // Gives a file made by create_unnamed the name `path`, which must be new.
    virtual std::error_code give_name(FileHandle file, const std::string& path) = 0;
    // Creates `path` for writing; fails when it exists already.
    virtual Opened create_new(const std::string& path, unsigned permissions) = 0;
    virtual std::error_code set_permissions(FileHandle file, unsigned permissions) = 0;
    virtual Opened open_read(const std::string& path) = 0;

    // Reads up to `size` bytes; 0 bytes without an error is the end of the file.
    virtual Transferred read(FileHandle file, char* data, std::size_t size) = 0;
    // Writes all `size` bytes, or fewer and an error.
    virtual Transferred write(FileHandle file, const char* data, std::size_t size) = 0;
    // Waits until what was written is on the disk.
    virtual std::error_code sync(FileHandle file) = 0;
    virtual std::error_code close(FileHandle file) = 0;

    // Moves `from` over `to` in one step.
    virtual std::error_code rename(const std::string& from, const std::string& to) = 0;
    virtual std::error_code remove(const std::string& path) = 0;
    // Waits until the folder's list of names is on the disk.
    virtual std::error_code sync_folder(const std::string& folder) = 0;
    virtual std::vector<std::string> folder_entries(const std::string& folder) = 0;

    virtual int process_id() = 0;
    virtual bool process_running(int id) = 0;
};

// The operating system's file operations.
FileOps& system_file_ops();

// How the lines of a text file end.
enum class LineEnds { Lf, Crlf };
// As this system's own programs end them: CRLF on Windows, LF elsewhere.
LineEnds system_line_ends();

}  // namespace vorelbox::common
