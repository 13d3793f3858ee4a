#pragma once
// Replacing a file in one step: the new content goes to a temporary file beside
// the old one, which is flushed to the disk and renamed over it only when
// everything was written. Every save of the program goes through here.

#include <functional>
#include <ostream>
#include <string>
#include <system_error>

#include "file_ops.h"

namespace vorelbox::common {

// True when `path` names an existing regular file (a folder is not one). A name
// holding a NUL or another control character names no file.
bool file_exists(const std::string& path);

enum class SaveProblem {
    None,
    NoName,          // the name is blank
    BadName,         // the name holds a control character
    Folder,          // the name is a folder's
    NotRegularFile,  // a device, a pipe...
    ReadOnly,        // the file may not be written
    NoFolder,        // its folder does not exist
    FolderReadOnly,  // no file may be created in its folder
    LinkLoop,        // its links lead round in a circle
    Access,          // its status could not be read
    Create,          // no temporary file could be created beside it
    Content,         // the content could not be made
    ReadOld,         // appending: the old content could not be read whole
    ReadSource,      // copying: the file to copy could not be read whole
    Write,
    Sync,
    Close,
    Rename,
    FolderSync,      // the new file is in place, but its folder could not be flushed
};

struct SaveResult {
    SaveProblem problem = SaveProblem::None;
    std::error_code error;  // the system's reason, when it gave one
    explicit operator bool() const { return problem == SaveProblem::None; }
};

// What went wrong, in one line for the user, for example "The file is
// read-only; it was not changed".
std::string save_problem_text(const SaveResult& result);

// A failure message: `headline` (which names the file), then on a second line
// what went wrong.
std::string save_failure_text(const std::string& headline, const SaveResult& result);

// Calls `write` with a stream on a new temporary file, then moves that over
// `path`. With `line_ends` Crlf, every "\n" that `write` writes becomes "\r\n"
// (text files as a Windows program writes them: system_line_ends()). A link is followed: its target is replaced and the link stays. The
// new file keeps the old one's permissions. A read-only file, a folder that
// cannot be written to and a name holding a control character are refused
// before anything is written. On any failure, or when `write` returns false,
// the old file is untouched and no temporary file is left; temporaries left
// behind by a program that stopped while saving the same file are removed.
SaveResult replace_file(const std::string& path, const std::function<bool(std::ostream&)>& write,
                        FileOps& ops = system_file_ops(), LineEnds line_ends = LineEnds::Lf);

// Appends to `path` in one step: the old content, then a line end if its last
// line has none, then what `write` adds, go to a temporary file that replaces
// it as replace_file does. A missing file is created. `line_ends` applies to
// what `write` adds and to the line end added; the old content stays byte for byte. On any failure (one write,
// or a read of the old content that gives fewer bytes than the file holds), the
// old file is untouched.
SaveResult append_to_file(const std::string& path, const std::function<bool(std::ostream&)>& write,
                          FileOps& ops = system_file_ops(), LineEnds line_ends = LineEnds::Lf);

// Replaces `target` with a copy of `source`, byte for byte, as replace_file does.
// A read error, or fewer or more bytes than the source's size, fails the copy.
SaveResult copy_file(const std::string& source, const std::string& target, FileOps& ops = system_file_ops());

// The name a temporary file of `target` gets, for the process `process_id`;
// `tag` makes it unique. Such names start with "." and hold ".vorelbox-".
std::string temporary_name(const std::string& target, int process_id, unsigned tag);

}  // namespace vorelbox::common
