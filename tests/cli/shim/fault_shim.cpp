// Loaded with LD_PRELOAD into vorelbox-cli: makes the system calls of a save
// fail, for files in the folder VORELBOX_FAULT_DIR only.
//   VORELBOX_FAULT_WRITE=N   the Nth write there fails with EIO; the others work
//   VORELBOX_FAULT_SPACE=B   B bytes fit there; a write that passes them fails with ENOSPC
//   VORELBOX_FAULT_FSYNC=1   every fsync there fails with EIO
//   VORELBOX_FAULT_RENAME=1  every rename from there fails with EIO
//   VORELBOX_FAULT_CLOSE=1   every close of a file written there fails with EIO

#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

int number(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? 0 : std::atoi(value);
}

bool in_fault_dir(const std::string& path) {
    const char* dir = std::getenv("VORELBOX_FAULT_DIR");
    return dir != nullptr && *dir != '\0' && path.rfind(dir, 0) == 0;
}

// Where a descriptor leads, as /proc shows it (files without a name included).
bool fd_in_fault_dir(int fd) {
    if (fd <= 2) {
        return false;
    }
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 && in_fault_dir(std::string(target, static_cast<std::size_t>(n)));
}

int writes = 0;
long long written = 0;
bool wrote = false;

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (!fd_in_fault_dir(fd)) {
        return real(fd, data, size);
    }
    wrote = true;
    if (++writes == number("VORELBOX_FAULT_WRITE")) {
        errno = EIO;
        return -1;
    }
    const int space = number("VORELBOX_FAULT_SPACE");
    if (space > 0 && written + static_cast<long long>(size) > space) {
        const auto fit = static_cast<size_t>(space - written);
        if (fit == 0) {
            errno = ENOSPC;
            return -1;
        }
        size = fit;
    }
    const ssize_t n = real(fd, data, size);
    if (n > 0) {
        written += n;
    }
    return n;
}

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    if (number("VORELBOX_FAULT_FSYNC") != 0 && fd_in_fault_dir(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

extern "C" int close(int fd) {
    static const auto real = next<int (*)(int)>("close");
    const bool fail = number("VORELBOX_FAULT_CLOSE") != 0 && wrote && fd_in_fault_dir(fd);
    const int result = real(fd);
    if (fail) {
        errno = EIO;
        return -1;
    }
    return result;
}

extern "C" int rename(const char* from, const char* to) {
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    if (number("VORELBOX_FAULT_RENAME") != 0 && in_fault_dir(from)) {
        errno = EIO;
        return -1;
    }
    return real(from, to);
}
