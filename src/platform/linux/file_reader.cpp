#include "platform/linux/file_reader.h"

#include "platform/linux/refused_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
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

// Link targets are paths; the kernel caps them well below this.
constexpr std::size_t kMaxLinkBytes = 64 * 1024;

// The name of `relativePath` under an open directory, for a log line or a spell:
// only looked up when one of those needs it.
std::string pathAt(int directoryFd, const char* relativePath) {
    if (directoryFd == AT_FDCWD || relativePath[0] == '/') {
        return relativePath;
    }
    const std::string link = "/proc/self/fd/" + std::to_string(directoryFd);
    std::string directory = readSymlink(link).value_or(link);
    return directory + "/" + relativePath;
}

// Opens a file for reading without blocking, then keeps it only if it is a
// regular file of at most `maxBytes` (by its size; /proc files say 0, so the
// read is bounded too). -1, with the reason, when it cannot be opened or is
// refused.
int openRegularFile(int directoryFd, const char* path, std::size_t maxBytes, ReadFailure& failure) {
    const int fd = ::openat(directoryFd, path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        failure =
            errno == ENOENT || errno == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable;
        return -1;
    }
    openedFiles.fetch_add(1, std::memory_order_relaxed);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        failure = ReadFailure::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        failure = ReadFailure::NotRegularFile;
    } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        failure = ReadFailure::TooLong;
    } else {
        return fd;
    }
    ::close(fd);
    return -1;
}

// Reads `fd` into `buffer` until the end, or until more than `maxBytes` came
// (then `used` is maxBytes + 1). With `oneRead`, a first read that leaves room
// in the buffer is taken as the whole file. False on a read error.
bool readBounded(int fd, std::string& buffer, std::size_t maxBytes, bool oneRead,
                 std::size_t& used) {
    const std::size_t limit = maxBytes == SIZE_MAX ? SIZE_MAX : maxBytes + 1;
    if (buffer.size() < std::min(initialBufferSize, limit)) {
        buffer.resize(std::min(initialBufferSize, limit));
    }
    used = 0;
    while (used < limit) {
        if (used == buffer.size()) {
            buffer.resize(std::min(buffer.size() * 2, limit));
        }
        const std::size_t room = std::min(buffer.size(), limit) - used;
        const ssize_t got = ::read(fd, buffer.data() + used, room);
        if (got > 0) {
            used += static_cast<std::size_t>(got);
            if (oneRead && static_cast<std::size_t>(got) < room) {
                break;
            }
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            return false; // EIO, a sensor that answers EAGAIN/ENODATA...
        }
    }
    return true;
}

// A whole file of at most `maxBytes`; absent, with the reason, otherwise.
std::optional<std::string_view> readWhole(int directoryFd, const char* path, std::string& buffer,
                                          std::size_t maxBytes, bool oneRead,
                                          ReadFailure& failure) {
    const int fd = openRegularFile(directoryFd, path, maxBytes, failure);
    if (fd < 0) {
        return std::nullopt;
    }
    std::size_t used = 0;
    const bool read = readBounded(fd, buffer, maxBytes, oneRead, used);
    ::close(fd);
    if (!read) {
        failure = ReadFailure::Unreadable;
        return std::nullopt;
    }
    if (used > maxBytes) {
        failure = ReadFailure::TooLong;
        return std::nullopt;
    }
    return std::string_view(buffer.data(), used);
}

// Keeps the refused-file spells: a refusal is reported, a good read ends one.
void noteOutcome(int directoryFd, const char* path, bool read, ReadFailure failure) {
    if (!read && (failure == ReadFailure::NotRegularFile || failure == ReadFailure::TooLong)) {
        reportRefusedFile(pathAt(directoryFd, path), failure == ReadFailure::TooLong
                                                         ? Refusal::TooLong
                                                         : Refusal::NotRegularFile);
    } else if (read && openRefusalSpells() != 0) {
        reportReadableFile(pathAt(directoryFd, path));
    }
}

std::optional<std::string_view> readCounterFile(int directoryFd, const char* path,
                                                std::string& buffer, bool oneRead) {
    ReadFailure failure = ReadFailure::Unreadable;
    const auto text = readWhole(directoryFd, path, buffer, kMaxFileBytes, oneRead, failure);
    noteOutcome(directoryFd, path, text.has_value(), failure);
    return text;
}

} // namespace

std::uint64_t openedFileCount() {
    return openedFiles.load(std::memory_order_relaxed);
}

std::optional<std::string_view> readFile(const std::string& path, std::string& buffer) {
    return readCounterFile(AT_FDCWD, path.c_str(), buffer, false);
}

std::optional<std::string_view> readFileQuietly(const std::string& path, std::string& buffer,
                                                std::size_t maxBytes, ReadFailure& failure) {
    return readWhole(AT_FDCWD, path.c_str(), buffer, maxBytes, false, failure);
}

// Such files are produced whole on the first read, so the usual second read
// that returns 0 is a wasted system call per process.
std::optional<std::string_view> readProcFileAt(int directoryFd, const char* relativePath,
                                               std::string& buffer) {
    return readCounterFile(directoryFd, relativePath, buffer, true);
}

std::optional<std::string_view> readFilePrefix(const std::string& path, std::string& buffer,
                                               std::size_t maxBytes, bool& truncated) {
    truncated = false;
    ReadFailure failure = ReadFailure::Unreadable;
    const int fd = openRegularFile(AT_FDCWD, path.c_str(), SIZE_MAX, failure);
    std::size_t used = 0;
    // One byte more than wanted tells a file of exactly maxBytes from a longer one.
    const bool read = fd >= 0 && readBounded(fd, buffer, maxBytes, false, used);
    if (fd >= 0) {
        ::close(fd);
    }
    noteOutcome(AT_FDCWD, path.c_str(), read, failure);
    if (!read) {
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
    const std::string* path;
    std::size_t visited = 0;
};

// opendir() opens with O_NONBLOCK | O_DIRECTORY: a FIFO in place of a folder
// fails at once.
DirectoryHandle* openDirectory(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        return nullptr;
    }
    openedFiles.fetch_add(1, std::memory_order_relaxed);
    return new DirectoryHandle{dir, &path};
}

int directoryFd(DirectoryHandle* handle) {
    return ::dirfd(handle->dir);
}

const char* nextEntry(DirectoryHandle* handle) {
    while (const dirent* entry = ::readdir(handle->dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        if (handle->visited == kMaxDirectoryEntries) {
            reportRefusedFile(*handle->path, Refusal::TooManyEntries);
            return nullptr;
        }
        ++handle->visited;
        return name;
    }
    if (openRefusalSpells() != 0) {
        reportReadableFile(*handle->path);
    }
    return nullptr;
}

void closeDirectory(DirectoryHandle* handle) {
    ::closedir(handle->dir);
    delete handle;
}

void rewindDirectory(DirectoryHandle* handle) {
    ::rewinddir(handle->dir);
    handle->visited = 0;
}

} // namespace detail

KeptDirectory::KeptDirectory(std::string path)
    : m_path(std::make_unique<std::string>(std::move(path))) {}

KeptDirectory::~KeptDirectory() {
    forget();
}

void KeptDirectory::forget() {
    if (m_handle != nullptr) {
        detail::closeDirectory(m_handle);
        m_handle = nullptr;
    }
}

detail::DirectoryHandle* KeptDirectory::rewound() {
    if (m_handle == nullptr) {
        m_handle = detail::openDirectory(*m_path);
    } else {
        detail::rewindDirectory(m_handle);
    }
    return m_handle;
}

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
        if (target.size() >= kMaxLinkBytes) {
            return std::nullopt;
        }
        target.resize(target.size() * 2); // possibly cut: try again with more room
    }
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace pw::platform
