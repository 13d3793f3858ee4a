// The file operations on a POSIX system. All the system calls of a save are here.

#include "file_ops.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorelbox::common {
namespace {

std::error_code last_error() {
    return {errno, std::generic_category()};
}

int descriptor(FileHandle file) {
    return static_cast<int>(file);
}

Opened opened(int fd) {
    if (fd < 0) {
        return {-1, last_error()};
    }
    return {fd, {}};
}

class PosixFileOps final : public FileOps {
public:
    FileStatus status(const std::string& path) override {
        struct stat st {};
        FileStatus s;
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT && errno != ENOTDIR) {
                s.error = last_error();
            }
            return s;
        }
        if (S_ISLNK(st.st_mode)) {
            s.kind = FileKind::Link;
        } else if (S_ISREG(st.st_mode)) {
            s.kind = FileKind::Regular;
            s.size = static_cast<std::uintmax_t>(st.st_size);
        } else if (S_ISDIR(st.st_mode)) {
            s.kind = FileKind::Folder;
        } else {
            s.kind = FileKind::Other;
        }
        s.permissions = static_cast<unsigned>(st.st_mode) & 0777u;
        return s;
    }

    std::optional<std::string> link_target(const std::string& path) override {
        std::string target(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
            if (n < 0) {
                return std::nullopt;
            }
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                return target;
            }
            target.resize(target.size() * 2);
        }
    }

    bool can_write(const std::string& path) override {
        return ::access(path.c_str(), W_OK) == 0;
    }

    Opened create_unnamed([[maybe_unused]] const std::string& folder,
                          [[maybe_unused]] unsigned permissions) override {
#ifdef O_TMPFILE
        // Naming it later goes through /proc.
        if (::access("/proc/self/fd", X_OK) == 0) {
            return opened(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(permissions)));
        }
#endif
        return {-1, std::make_error_code(std::errc::operation_not_supported)};
    }

    std::error_code give_name(FileHandle file, const std::string& path) override {
        const std::string self = "/proc/self/fd/" + std::to_string(descriptor(file));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            return last_error();
        }
        return {};
    }

    Opened create_new(const std::string& path, unsigned permissions) override {
        return opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(permissions)));
    }

    std::error_code set_permissions(FileHandle file, unsigned permissions) override {
        if (::fchmod(descriptor(file), static_cast<mode_t>(permissions)) != 0) {
            return last_error();
        }
        return {};
    }

    Opened open_read(const std::string& path) override {
        return opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    }

    Transferred read(FileHandle file, char* data, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(descriptor(file), data, size);
            if (n >= 0) {
                return {static_cast<std::size_t>(n), {}};
            }
            if (errno != EINTR) {
                return {0, last_error()};
            }
        }
    }

    Transferred write(FileHandle file, const char* data, std::size_t size) override {
        Transferred t;
        while (t.bytes < size) {
            const ssize_t n = ::write(descriptor(file), data + t.bytes, size - t.bytes);
            if (n > 0) {
                t.bytes += static_cast<std::size_t>(n);
            } else if (n == 0) {
                t.error = std::make_error_code(std::errc::io_error);
                break;
            } else if (errno != EINTR) {
                t.error = last_error();
                break;
            }
        }
        return t;
    }

    std::error_code sync(FileHandle file) override {
        if (::fsync(descriptor(file)) != 0) {
            return last_error();
        }
        return {};
    }

    std::error_code close(FileHandle file) override {
        // After EINTR the descriptor is gone all the same.
        if (::close(descriptor(file)) != 0 && errno != EINTR) {
            return last_error();
        }
        return {};
    }

    std::error_code rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return last_error();
        }
        return {};
    }

    std::error_code remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0) {
            return last_error();
        }
        return {};
    }

    std::error_code sync_folder(const std::string& folder) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return last_error();
        }
        std::error_code error;
        // Some file systems cannot flush a folder; their names are as safe as they get.
        if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EOPNOTSUPP) {
            error = last_error();
        }
        ::close(fd);
        return error;
    }

    std::vector<std::string> folder_entries(const std::string& folder) override {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) {
            return names;
        }
        while (const dirent* entry = ::readdir(dir)) {
            names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
        return names;
    }

    int process_id() override {
        return static_cast<int>(::getpid());
    }

    bool process_running(int id) override {
        return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
    }
};

}  // namespace

FileOps& system_file_ops() {
    static PosixFileOps ops;
    return ops;
}

LineEnds system_line_ends() {
    return LineEnds::Lf;
}

}  // namespace vorelbox::common
