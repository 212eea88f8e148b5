#include "platform/linux/file_reader.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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
    std::string target(256, '\0');
    while (true) {
        const ssize_t got = ::readlink(path.c_str(), target.data(), target.size());
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
