#include "platform/linux/file_reader.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pw::platform {

namespace {

std::atomic<std::uint64_t> openedFiles{0};

// Most /proc and /sys files fit; larger ones (a big machine's /proc/stat) grow it.
constexpr std::size_t initialBufferSize = 4096;

} // namespace

std::uint64_t openedFileCount() {
    return openedFiles.load(std::memory_order_relaxed);
}

std::optional<std::string_view> readFile(const std::string& path, std::string& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    openedFiles.fetch_add(1, std::memory_order_relaxed);
    if (buffer.size() < initialBufferSize) {
        buffer.resize(initialBufferSize);
    }
    std::size_t used = 0;
    bool failed = false;
    while (true) {
        if (used == buffer.size()) {
            buffer.resize(buffer.size() * 2);
        }
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got > 0) {
            used += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            failed = true; // EISDIR, EIO, a sensor that answers EAGAIN/ENODATA...
            break;
        }
    }
    ::close(fd);
    if (failed) {
        return std::nullopt;
    }
    return std::string_view(buffer.data(), used);
}

std::optional<std::string_view> readProcFileAt(int directoryFd, const char* relativePath,
                                               std::string& buffer) {
    const int fd = ::openat(directoryFd, relativePath, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    openedFiles.fetch_add(1, std::memory_order_relaxed);
    if (buffer.size() < initialBufferSize) {
        buffer.resize(initialBufferSize);
    }
    std::size_t used = 0;
    while (true) {
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        used += static_cast<std::size_t>(got);
        if (got == 0 || used < buffer.size()) {
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    ::close(fd);
    return std::string_view(buffer.data(), used);
}

std::optional<std::string_view> readFilePrefix(const std::string& path, std::string& buffer,
                                               std::size_t maxBytes, bool& truncated) {
    truncated = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    openedFiles.fetch_add(1, std::memory_order_relaxed);
    // One byte more than wanted tells a file of exactly maxBytes from a longer one.
    if (buffer.size() < maxBytes + 1) {
        buffer.resize(maxBytes + 1);
    }
    std::size_t used = 0;
    bool failed = false;
    while (used < maxBytes + 1) {
        const ssize_t got = ::read(fd, buffer.data() + used, maxBytes + 1 - used);
        if (got > 0) {
            used += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            failed = true;
            break;
        }
    }
    ::close(fd);
    if (failed) {
        return std::nullopt;
    }
    if (used > maxBytes) {
        truncated = true;
        used = maxBytes;
    }
    return std::string_view(buffer.data(), used);
}

std::optional<FileSystemSpace> fileSystemSpace(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const std::uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    return FileSystemSpace{static_cast<std::uint64_t>(info.f_blocks) * unit,
                           static_cast<std::uint64_t>(info.f_bavail) * unit};
}

namespace detail {

struct DirectoryHandle {
    DIR* dir;
};

DirectoryHandle* openDirectory(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        return nullptr;
    }
    openedFiles.fetch_add(1, std::memory_order_relaxed);
    return new DirectoryHandle{dir};
}

int directoryFd(DirectoryHandle* handle) {
    return ::dirfd(handle->dir);
}

const char* nextEntry(DirectoryHandle* handle) {
    while (const dirent* entry = ::readdir(handle->dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
            return name;
        }
    }
    return nullptr;
}

void closeDirectory(DirectoryHandle* handle) {
    ::closedir(handle->dir);
    delete handle;
}

} // namespace detail

std::optional<std::vector<std::string>> listDirectory(const std::string& path) {
    std::vector<std::string> names;
    if (!forEachDirectoryEntry(path, [&](std::string_view name) { names.emplace_back(name); })) {
        return std::nullopt;
    }
    return names;
}

std::optional<std::string> readSymlink(const std::string& path) {
    return readSymlinkAt(AT_FDCWD, path.c_str());
}

std::optional<std::string> readSymlinkAt(int directoryFd, const char* name) {
    std::string target(256, '\0');
    while (true) {
        const ssize_t got = ::readlinkat(directoryFd, name, target.data(), target.size());
        if (got < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(got) < target.size()) {
            target.resize(static_cast<std::size_t>(got));
            return target;
        }
        target.resize(target.size() * 2); // possibly cut: try again with more room
    }
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace pw::platform
