#include "safe_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <streambuf>
#include <vector>

#include "os_path.h"
#include "text_utils.h"

namespace vorelbox::common {
namespace fs = std::filesystem;

namespace {

constexpr int link_limit = 40;         // as the system's own limit on links in a row
constexpr int name_tries = 100;        // temporary names tried before giving up
constexpr std::size_t stem_limit = 120;  // bytes of the target's name kept in a temporary's name
constexpr std::string_view marker = ".vorelbox-";
constexpr std::string_view temporary_end = ".tmp";
constexpr unsigned new_file_permissions = 0666;  // less the user's mask, as for any new file
constexpr unsigned write_bits = 0222;

std::string folder_of(const std::string& path) {
    const fs::path parent = os_path(path).parent_path();
    return parent.empty() ? std::string(".") : utf8_path(parent);
}

// The first bytes of the target's name, not splitting a UTF-8 character.
std::string temporary_stem(const std::string& target) {
    std::string name = utf8_path(os_path(target).filename());
    if (name.size() > stem_limit) {
        std::size_t cut = stem_limit;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return name;
}

// The process that made `entry` when it is a temporary file of a target whose
// stem is `stem`: "." stem ".vorelbox-" process "-" eight hex digits ".tmp".
std::optional<int> temporary_owner(std::string_view entry, const std::string& stem) {
    std::string start(1, '.');
    start.append(stem).append(marker);
    if (entry.size() <= start.size() + temporary_end.size() || entry.substr(0, start.size()) != start ||
        entry.substr(entry.size() - temporary_end.size()) != temporary_end) {
        return std::nullopt;
    }
    const std::string_view middle = entry.substr(start.size(), entry.size() - start.size() - temporary_end.size());
    const std::size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || middle.size() - dash - 1 != 8) {
        return std::nullopt;
    }
    int process = 0;
    for (const char c : middle.substr(0, dash)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        process = process * 10 + (c - '0');
    }
    for (const char c : middle.substr(dash + 1)) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
    }
    return process;
}

// Removes the temporary files of `target` whose program no longer runs: it was
// stopped while saving.
void remove_stale_temporaries(FileOps& ops, const std::string& target) {
    const std::string folder = folder_of(target);
    const std::string stem = temporary_stem(target);
    const int self = ops.process_id();
    for (const std::string& entry : ops.folder_entries(folder)) {
        const auto owner = temporary_owner(entry, stem);
        if (owner && *owner != self && !ops.process_running(*owner)) {
            ops.remove(utf8_path(os_path(folder) / os_path(entry)));
        }
    }
}

unsigned random_seed() {
    const auto ticks = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        return device() ^ ticks;
    } catch (...) {
        return ticks;
    }
}

// A stream buffer that writes through the file operations. The first failure
// is kept, and nothing is written after it.
class OpsBuffer final : public std::streambuf {
public:
    OpsBuffer(FileOps& ops, FileHandle file) : ops_(ops), file_(file), buffer_(1 << 16) { reset(); }

    const std::error_code& error() const { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    // What does not fit into the buffer fills it up, then goes to the file in
    // writes of the buffer's size straight from where it is; only the rest is
    // copied into the buffer. The file sees the same writes as through the buffer.
    std::streamsize xsputn(const char* data, std::streamsize size) override {
        const std::streamsize free = epptr() - pptr();
        if (size < free) {
            return std::streambuf::xsputn(data, size);
        }
        std::copy(data, data + free, pptr());
        pbump(static_cast<int>(free));
        if (!drain()) {
            return 0;
        }
        const auto whole = static_cast<std::streamsize>(buffer_.size());
        std::streamsize done = free;
        for (; size - done >= whole; done += whole) {
            if (!put_through(data + done, buffer_.size())) {
                return done;
            }
        }
        return done + std::streambuf::xsputn(data + done, size - done);
    }

    int sync() override { return drain() ? 0 : -1; }

private:
    void reset() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

    // Writes bytes to the file unless a write failed before; keeps the first failure.
    bool put_through(const char* data, std::size_t size) {
        if (!error_ && size > 0) {
            const Transferred t = ops_.write(file_, data, size);
            if (t.error) {
                error_ = t.error;
            } else if (t.bytes != size) {
                error_ = std::make_error_code(std::errc::io_error);
            }
        }
        return !error_;
    }

    bool drain() {
        const bool written = put_through(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        reset();
        return written;
    }

    FileOps& ops_;
    FileHandle file_;
    std::vector<char> buffer_;
    std::error_code error_;
};

// A stream buffer that passes everything on to another, "\n" as "\r\n".
class CrlfBuffer final : public std::streambuf {
public:
    explicit CrlfBuffer(std::streambuf& to) : to_(to) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        const char ch = traits_type::to_char_type(c);
        return put(&ch, 1) ? c : traits_type::eof();
    }

    std::streamsize xsputn(const char* data, std::streamsize size) override {
        return put(data, size) ? size : 0;
    }

    int sync() override { return to_.pubsync(); }

private:
    bool put(const char* data, std::streamsize size) {
        std::streamsize start = 0;
        for (std::streamsize i = 0; i < size; ++i) {
            if (data[i] == '\n') {
                if (to_.sputn(data + start, i - start) != i - start || to_.sputn("\r\n", 2) != 2) {
                    return false;
                }
                start = i + 1;
            }
        }
        return to_.sputn(data + start, size - start) == size - start;
    }

    std::streambuf& to_;
};

// Calls `write` on `out`, through a CrlfBuffer when lines end in CRLF.
bool write_lines(std::ostream& out, const std::function<bool(std::ostream&)>& write, LineEnds line_ends) {
    if (line_ends == LineEnds::Lf) {
        return write(out);
    }
    CrlfBuffer crlf(*out.rdbuf());
    std::ostream text(&crlf);
    const bool made = write(text);
    text.flush();
    return made && static_cast<bool>(text);
}

struct Target {
    std::string path;  // after following links
    FileStatus status;
    SaveResult problem;
};

Target follow_links(FileOps& ops, const std::string& path) {
    Target t;
    t.path = path;
    for (int links = 0; links <= link_limit; ++links) {
        t.status = ops.status(t.path);
        if (t.status.error) {
            t.problem = {SaveProblem::Access, t.status.error};
            return t;
        }
        if (t.status.kind != FileKind::Link) {
            return t;
        }
        const auto held = ops.link_target(t.path);
        if (!held || held->empty()) {
            t.problem = {SaveProblem::Access, std::make_error_code(std::errc::io_error)};
            return t;
        }
        const fs::path next = os_path(*held);
        t.path = next.is_absolute() ? *held : utf8_path(os_path(folder_of(t.path)) / next);
    }
    t.problem = {SaveProblem::LinkLoop, std::make_error_code(std::errc::too_many_symbolic_link_levels)};
    return t;
}

// The checks made before anything is written.
Target check_target(FileOps& ops, const std::string& path) {
    if (is_blank(path)) {
        return {path, {}, {SaveProblem::NoName, {}}};
    }
    if (has_control_char(path)) {
        return {path, {}, {SaveProblem::BadName, {}}};
    }
    Target t = follow_links(ops, path);
    if (!t.problem) {
        return t;
    }
    const std::string name = utf8_path(os_path(t.path).filename());
    if (t.status.kind == FileKind::Folder || name.empty() || name == "." || name == "..") {
        t.problem = {SaveProblem::Folder, {}};
    } else if (t.status.kind == FileKind::Other) {
        t.problem = {SaveProblem::NotRegularFile, {}};
    } else if (t.status.kind == FileKind::Regular &&
               ((t.status.permissions & write_bits) == 0 || !ops.can_write(t.path))) {
        // Read-only stays read-only, even for a user whom the system would let write.
        t.problem = {SaveProblem::ReadOnly, {}};
    } else {
        const std::string folder = folder_of(t.path);
        const FileStatus folder_status = ops.status(folder);
        if (folder_status.kind == FileKind::Missing && !folder_status.error) {
            t.problem = {SaveProblem::NoFolder, {}};
        } else if (!ops.can_write(folder)) {
            t.problem = {SaveProblem::FolderReadOnly, {}};
        }
    }
    return t;
}

struct Temporary {
    FileHandle file = -1;
    std::string name;  // empty while the file has no name
    std::error_code error;
};

Temporary create_temporary(FileOps& ops, const std::string& target, unsigned permissions, std::mt19937& random) {
    const Opened unnamed = ops.create_unnamed(folder_of(target), permissions);
    if (!unnamed.error) {
        return {unnamed.file, {}, {}};
    }
    std::error_code error;
    for (int attempt = 0; attempt < name_tries; ++attempt) {
        const std::string name = temporary_name(target, ops.process_id(), static_cast<unsigned>(random()));
        const Opened named = ops.create_new(name, permissions);
        if (!named.error) {
            return {named.file, name, {}};
        }
        error = named.error;
        if (error != std::errc::file_exists) {
            break;
        }
    }
    return {-1, {}, error};
}

// Names a file made without a name, with a fresh temporary name.
std::error_code name_temporary(FileOps& ops, Temporary& temp, const std::string& target, std::mt19937& random) {
    std::error_code error;
    for (int attempt = 0; attempt < name_tries; ++attempt) {
        const std::string name = temporary_name(target, ops.process_id(), static_cast<unsigned>(random()));
        error = ops.give_name(temp.file, name);
        if (!error) {
            temp.name = name;
            return error;
        }
        if (error != std::errc::file_exists) {
            break;
        }
    }
    return error;
}

// Everything after the checks: the temporary file is written, flushed, closed
// and renamed over the target. On failure it is closed and removed.
SaveResult write_and_replace(FileOps& ops, const Target& target, const std::function<bool(std::ostream&)>& write) {
    const bool existed = target.status.kind == FileKind::Regular;
    const unsigned permissions = existed ? target.status.permissions : new_file_permissions;
    std::mt19937 random(random_seed());
    remove_stale_temporaries(ops, target.path);

    Temporary temp = create_temporary(ops, target.path, permissions, random);
    if (temp.error) {
        return {SaveProblem::Create, temp.error};
    }
    bool open = true;
    const auto fail = [&](SaveResult result) {
        if (open) {
            ops.close(temp.file);
        }
        if (!temp.name.empty()) {
            ops.remove(temp.name);
        }
        return result;
    };

    // A new file gets what the user's mask allows; a replaced one keeps its bits.
    if (existed) {
        if (const auto error = ops.set_permissions(temp.file, permissions)) {
            return fail({SaveProblem::Create, error});
        }
    }
    {
        OpsBuffer buffer(ops, temp.file);
        std::ostream out(&buffer);
        const bool made = write(out);
        out.flush();
        if (buffer.error()) {
            return fail({SaveProblem::Write, buffer.error()});
        }
        if (!made || !out) {
            return fail({SaveProblem::Content, {}});
        }
    }
    if (const auto error = ops.sync(temp.file)) {
        return fail({SaveProblem::Sync, error});
    }
    if (temp.name.empty()) {
        if (const auto error = name_temporary(ops, temp, target.path, random)) {
            return fail({SaveProblem::Create, error});
        }
    }
    open = false;
    if (const auto error = ops.close(temp.file)) {
        return fail({SaveProblem::Close, error});
    }
    if (const auto error = ops.rename(temp.name, target.path)) {
        return fail({SaveProblem::Rename, error});
    }
    if (const auto error = ops.sync_folder(folder_of(target.path))) {
        return {SaveProblem::FolderSync, error};
    }
    return {};
}

// Copies the content of `source` to `out`, with a line end after an unfinished
// last line when `end_line` is set. A read error or a byte count other than the
// file's size is the failure `problem`.
SaveResult copy_content(FileOps& ops, const Target& source, std::ostream& out, bool end_line, SaveProblem problem,
                        LineEnds line_ends = LineEnds::Lf) {
    if (source.status.kind != FileKind::Regular || source.status.size == 0) {
        return {};
    }
    const Opened old = ops.open_read(source.path);
    if (old.error) {
        return {problem, old.error};
    }
    std::array<char, 1 << 16> chunk{};
    std::uintmax_t copied = 0;
    char last = '\n';
    SaveResult result;
    for (;;) {
        const Transferred t = ops.read(old.file, chunk.data(), chunk.size());
        if (t.error) {
            result = {problem, t.error};
            break;
        }
        if (t.bytes == 0) {
            break;
        }
        out.write(chunk.data(), static_cast<std::streamsize>(t.bytes));
        copied += t.bytes;
        last = chunk[t.bytes - 1];
    }
    ops.close(old.file);
    if (result) {
        if (copied != source.status.size) {
            result = {problem, {}};
        } else if (end_line && last != '\n') {
            out << (line_ends == LineEnds::Crlf ? "\r\n" : "\n");
        }
    }
    return result;
}

}  // namespace

bool file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && !has_control_char(path) && fs::is_regular_file(os_path(path), ec);
}

std::string temporary_name(const std::string& target, int process_id, unsigned tag) {
    constexpr const char* hex = "0123456789abcdef";
    std::string digits(8, '0');
    for (int i = 7; i >= 0; --i, tag >>= 4) {
        digits[static_cast<std::size_t>(i)] = hex[tag & 0xF];
    }
    std::string name(1, '.');
    name.append(temporary_stem(target)).append(marker).append(std::to_string(process_id));
    name.append(1, '-').append(digits).append(temporary_end);
    return utf8_path(os_path(folder_of(target)) / os_path(name));
}

SaveResult replace_file(const std::string& path, const std::function<bool(std::ostream&)>& write, FileOps& ops,
                        LineEnds line_ends) {
    const Target target = check_target(ops, path);
    if (!target.problem) {
        return target.problem;
    }
    return write_and_replace(ops, target, [&](std::ostream& out) { return write_lines(out, write, line_ends); });
}

SaveResult append_to_file(const std::string& path, const std::function<bool(std::ostream&)>& write, FileOps& ops,
                          LineEnds line_ends) {
    const Target target = check_target(ops, path);
    if (!target.problem) {
        return target.problem;
    }
    SaveResult old_content;
    const SaveResult saved = write_and_replace(ops, target, [&](std::ostream& out) {
        old_content = copy_content(ops, target, out, true, SaveProblem::ReadOld, line_ends);
        return static_cast<bool>(old_content) && static_cast<bool>(out) && write_lines(out, write, line_ends);
    });
    return saved.problem == SaveProblem::Content && !old_content ? old_content : saved;
}

SaveResult copy_file(const std::string& source, const std::string& target, FileOps& ops) {
    Target from = follow_links(ops, source);
    if (has_control_char(source)) {
        from.problem = {SaveProblem::ReadSource, std::make_error_code(std::errc::invalid_argument)};
    } else if (from.problem.problem == SaveProblem::None && from.status.kind != FileKind::Regular) {
        from.problem = {SaveProblem::ReadSource, std::make_error_code(std::errc::no_such_file_or_directory)};
    }
    if (!from.problem) {
        return {SaveProblem::ReadSource, from.problem.error};
    }
    SaveResult read;
    const SaveResult saved = replace_file(
        target,
        [&](std::ostream& out) {
            read = copy_content(ops, from, out, false, SaveProblem::ReadSource);
            return static_cast<bool>(read) && static_cast<bool>(out);
        },
        ops);
    return saved.problem == SaveProblem::Content && !read ? read : saved;
}

std::string save_problem_text(const SaveResult& result) {
    std::string text;
    switch (result.problem) {
        case SaveProblem::None:
            return {};
        case SaveProblem::NoName:
            text = "The file has no name";
            break;
        case SaveProblem::BadName:
            text = "The name holds a control character";
            break;
        case SaveProblem::Folder:
            text = "That is a folder";
            break;
        case SaveProblem::NotRegularFile:
            text = "That is not a regular file";
            break;
        case SaveProblem::ReadOnly:
            text = "The file is read-only";
            break;
        case SaveProblem::NoFolder:
            text = "Its folder does not exist";
            break;
        case SaveProblem::FolderReadOnly:
            text = "Its folder cannot be written to";
            break;
        case SaveProblem::LinkLoop:
            text = "Its links lead round in a circle";
            break;
        case SaveProblem::Access:
            text = "It cannot be reached";
            break;
        case SaveProblem::Create:
            text = "No temporary file could be made beside it";
            break;
        case SaveProblem::Content:
            text = "The new content could not be made";
            break;
        case SaveProblem::ReadOld:
            text = "Its old content could not be read whole";
            break;
        case SaveProblem::ReadSource:
            text = "The file to copy could not be read whole";
            break;
        case SaveProblem::Write:
            text = "Writing failed";
            break;
        case SaveProblem::Sync:
            text = "The new content could not be flushed to the disk";
            break;
        case SaveProblem::Close:
            text = "Closing the new content failed";
            break;
        case SaveProblem::Rename:
            text = "The new content could not take the old file's place";
            break;
        case SaveProblem::FolderSync:
            text = "The new content is in place, but its folder could not be flushed to the disk";
            break;
    }
    if (result.error && result.problem != SaveProblem::LinkLoop) {
        text.append(" (").append(result.error.message()).append(")");
    }
    if (result.problem != SaveProblem::FolderSync) {
        text += "; the file was not changed";
    }
    return text;
}

std::string save_failure_text(const std::string& headline, const SaveResult& result) {
    std::string text = headline;
    text.append("\r").append(save_problem_text(result));
    return text;
}

}  // namespace vorelbox::common
