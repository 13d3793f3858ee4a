#pragma once
// The system's file operations with faults on demand: the Nth write, a full
// disk, the flush, the close, the rename... Every call is logged by name.

#include <algorithm>
#include <cerrno>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "file_ops.h"

namespace vorelbox::fakes {

class FaultyFileOps : public common::FileOps {
public:
    // Faults; 0 or empty means none.
    int fail_write = 0;                          // this write call (1 = the first) fails with EIO
    bool writes_recover = true;                  // later writes succeed again
    std::optional<std::size_t> disk_space;       // bytes that fit; the write that passes it fails with ENOSPC
    int fail_read = 0;                           // this read call fails with EIO
    std::optional<std::size_t> short_read;       // reads end (as at the end of the file) after this many bytes
    bool fail_create = false;                    // no file can be created (EACCES)
    bool no_unnamed = false;                     // the file system cannot make a file without a name
    bool fail_name = false;                      // naming an unnamed file fails (EIO)
    bool fail_permissions = false;
    bool fail_sync = false;
    bool fail_close = false;                     // closing a written file fails (EIO) after closing it
    bool fail_rename = false;
    bool fail_folder_sync = false;
    std::set<std::string> read_only;             // paths for which can_write is false
    std::set<int> dead_processes;                // process_running is false for these
    std::optional<int> own_process;              // process_id gives this instead of the real one

    std::vector<std::string> calls;              // the name of every operation, in order
    int write_calls = 0;
    int read_calls = 0;

    common::FileStatus status(const std::string& path) override {
        calls.push_back("status");
        return real().status(path);
    }
    std::optional<std::string> link_target(const std::string& path) override {
        calls.push_back("link_target");
        return real().link_target(path);
    }
    bool can_write(const std::string& path) override {
        calls.push_back("can_write");
        return read_only.count(path) == 0 && real().can_write(path);
    }
    common::Opened create_unnamed(const std::string& folder, unsigned permissions) override {
        calls.push_back("create_unnamed");
        if (no_unnamed) {
            return {-1, std::make_error_code(std::errc::operation_not_supported)};
        }
        if (fail_create) {
            return {-1, std::make_error_code(std::errc::permission_denied)};
        }
        return real().create_unnamed(folder, permissions);
    }
    std::error_code give_name(common::FileHandle file, const std::string& path) override {
        calls.push_back("give_name");
        if (fail_name) {
            return std::make_error_code(std::errc::io_error);
        }
        return real().give_name(file, path);
    }
    common::Opened create_new(const std::string& path, unsigned permissions) override {
        calls.push_back("create_new");
        if (fail_create) {
            return {-1, std::make_error_code(std::errc::permission_denied)};
        }
        return real().create_new(path, permissions);
    }
    std::error_code set_permissions(common::FileHandle file, unsigned permissions) override {
        calls.push_back("set_permissions");
        if (fail_permissions) {
            return std::make_error_code(std::errc::operation_not_permitted);
        }
        return real().set_permissions(file, permissions);
    }
    common::Opened open_read(const std::string& path) override {
        calls.push_back("open_read");
        read_so_far_ = 0;
        return real().open_read(path);
    }
    common::Transferred read(common::FileHandle file, char* data, std::size_t size) override {
        calls.push_back("read");
        ++read_calls;
        if (read_calls == fail_read) {
            return {0, std::make_error_code(std::errc::io_error)};
        }
        if (short_read) {
            size = std::min(size, *short_read - std::min(*short_read, read_so_far_));
        }
        const common::Transferred t = real().read(file, data, size);
        read_so_far_ += t.bytes;
        return t;
    }
    common::Transferred write(common::FileHandle file, const char* data, std::size_t size) override {
        calls.push_back("write");
        ++write_calls;
        if (write_calls == fail_write || (!writes_recover && fail_write > 0 && write_calls > fail_write)) {
            return {0, std::make_error_code(std::errc::io_error)};
        }
        if (disk_space && written_ + size > *disk_space) {
            const common::Transferred fit = real().write(file, data, *disk_space - written_);
            written_ += fit.bytes;
            return {fit.bytes, std::make_error_code(std::errc::no_space_on_device)};
        }
        const common::Transferred t = real().write(file, data, size);
        written_ += t.bytes;
        return t;
    }
    std::error_code sync(common::FileHandle file) override {
        calls.push_back("sync");
        if (fail_sync) {
            return std::make_error_code(std::errc::io_error);
        }
        return real().sync(file);
    }
    std::error_code close(common::FileHandle file) override {
        calls.push_back("close");
        const std::error_code error = real().close(file);
        // Only a written file's close fails: reading the old content does not count.
        if (fail_close && write_calls > 0) {
            return std::make_error_code(std::errc::io_error);
        }
        return error;
    }
    std::error_code rename(const std::string& from, const std::string& to) override {
        calls.push_back("rename");
        if (fail_rename) {
            return std::make_error_code(std::errc::io_error);
        }
        return real().rename(from, to);
    }
    std::error_code remove(const std::string& path) override {
        calls.push_back("remove");
        return real().remove(path);
    }
    std::error_code sync_folder(const std::string& folder) override {
        calls.push_back("sync_folder");
        if (fail_folder_sync) {
            return std::make_error_code(std::errc::io_error);
        }
        return real().sync_folder(folder);
    }
    std::vector<std::string> folder_entries(const std::string& folder) override {
        calls.push_back("folder_entries");
        return real().folder_entries(folder);
    }
    int process_id() override { return own_process.value_or(real().process_id()); }
    bool process_running(int id) override { return dead_processes.count(id) == 0 && real().process_running(id); }

private:
    static common::FileOps& real() { return common::system_file_ops(); }

    std::size_t written_ = 0;
    std::size_t read_so_far_ = 0;
};

// One of each fault a save can meet, for tests that go through them all.
struct SaveFault {
    const char* name;
    void (*arrange)(FaultyFileOps&);
};

inline std::vector<SaveFault> save_faults() {
    return {
        {"a write", [](FaultyFileOps& o) { o.fail_write = 1; }},
        {"a full disk", [](FaultyFileOps& o) { o.disk_space = 10; }},
        {"the flush", [](FaultyFileOps& o) { o.fail_sync = true; }},
        {"the close", [](FaultyFileOps& o) { o.fail_close = true; }},
        {"the rename", [](FaultyFileOps& o) { o.fail_rename = true; }},
        {"the temporary file", [](FaultyFileOps& o) { o.fail_create = true; }},
    };
}

}  // namespace vorelbox::fakes
