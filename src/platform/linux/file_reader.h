#pragma once

// Thin wrappers over the POSIX calls the backend needs. Plain open/read into a
// buffer the caller keeps, because the counters are read every second.
//
// Everything read here is untrusted: files are opened without blocking and read
// only when they are regular files (a FIFO or a device in place of a counter
// would otherwise hang or never end), every read has a bound, and a directory
// listing stops after kMaxDirectoryEntries. A refused file reads as absent and
// is reported once per spell (refused_files.h).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// The longest file read whole: far beyond any counter file (a 4,096-CPU
// /proc/stat is about 300 kB).
inline constexpr std::size_t kMaxFileBytes = 1 << 20;

// Entries a directory listing visits at most: room for 65,000 processes in /proc.
inline constexpr std::size_t kMaxDirectoryEntries = 1 << 16;

// Files and directories opened through this file since start; the cycle benchmark
// prints it to show what one cycle costs.
std::uint64_t openedFileCount();

// Reads the whole file at `path` into `buffer`, which keeps its size between calls
// so a steady caller does not allocate. The view points into `buffer` and is valid
// until its next use. Absent if the file cannot be opened or read, is not a
// regular file, or is longer than kMaxFileBytes.
std::optional<std::string_view> readFile(const std::string& path, std::string& buffer);

// Reads a small kernel-generated file relative to an open directory in one
// read(): such files are produced whole on the first read, so the usual second
// read that returns 0 is a wasted system call per process. Falls back to the
// full loop when the first read fills the buffer.
std::optional<std::string_view> readProcFileAt(int directoryFd, const char* relativePath,
                                               std::string& buffer);

// Why a quiet read gave nothing.
enum class ReadFailure {
    Missing,        // nothing at the path
    NotRegularFile, // a FIFO, socket, device or directory
    TooLong,        // over the bound
    Unreadable,     // no permission, an I/O error
};

// As readFile with a bound of `maxBytes`, for a caller that reports problems
// itself: nothing is logged, and `failure` says why nothing came back.
std::optional<std::string_view> readFileQuietly(const std::string& path, std::string& buffer,
                                                std::size_t maxBytes, ReadFailure& failure);

// Like readFile, but stops after `maxBytes`: for tables that can grow to
// megabytes on a busy machine when only their first rows are wanted.
// `truncated` says whether the file went on. Absent for a file that is not
// regular.
std::optional<std::string_view> readFilePrefix(const std::string& path, std::string& buffer,
                                               std::size_t maxBytes, bool& truncated);

// Size and space free to unprivileged users of the filesystem holding `path`,
// in bytes; absent if statvfs fails.
struct FileSystemSpace {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};
std::optional<FileSystemSpace> fileSystemSpace(const std::string& path);

// The names in a directory, without "." and "..", in no particular order; absent
// if it cannot be listed.
std::optional<std::vector<std::string>> listDirectory(const std::string& path);

// Calls `visit(name)` for each entry of a directory without collecting them;
// false if it cannot be listed.
template <typename Visit> bool forEachDirectoryEntry(const std::string& path, Visit&& visit);

// The target of a symbolic link, as written in the link; absent if `path` is not
// a readable link.
std::optional<std::string> readSymlink(const std::string& path);
// The same for `name` in an open directory (an entry of /proc/<pid>/fd).
std::optional<std::string> readSymlinkAt(int directoryFd, const char* name);

// Something (file, directory or link, even a dangling one) is at `path`.
bool pathExists(const std::string& path);

namespace detail {
struct DirectoryHandle;
DirectoryHandle* openDirectory(const std::string& path);
const char* nextEntry(DirectoryHandle* handle); // nullptr at the end
int directoryFd(DirectoryHandle* handle);
void closeDirectory(DirectoryHandle* handle);
void rewindDirectory(DirectoryHandle* handle);
} // namespace detail

// A directory listed again every few seconds (a class folder of sysfs): kept
// open and rewound for each listing, which spares the open, the check and the
// close each time. One that cannot be opened is tried again at the next
// listing. A kept handle of a folder that was removed (and perhaps made
// again) lists nothing, so an empty listing is made again from the path.
class KeptDirectory {
public:
    explicit KeptDirectory(std::string path);
    ~KeptDirectory();
    KeptDirectory(const KeptDirectory&) = delete;
    KeptDirectory& operator=(const KeptDirectory&) = delete;

    const std::string& path() const { return *m_path; }
    // As forEachDirectoryEntry.
    template <typename Visit> bool forEach(Visit&& visit) {
        const bool reused = m_handle != nullptr;
        auto* handle = rewound();
        if (handle == nullptr) {
            return false;
        }
        if (listFrom(handle, visit) || !reused) {
            return true;
        }
        forget();
        handle = rewound();
        if (handle == nullptr) {
            return false;
        }
        listFrom(handle, visit);
        return true;
    }

private:
    // Whether any entry was listed.
    template <typename Visit> static bool listFrom(detail::DirectoryHandle* handle, Visit& visit) {
        bool listedAny = false;
        while (const char* name = detail::nextEntry(handle)) {
            visit(std::string_view(name));
            listedAny = true;
        }
        return listedAny;
    }
    detail::DirectoryHandle* rewound();
    void forget();

    std::unique_ptr<std::string> m_path; // the handle keeps a pointer to it
    detail::DirectoryHandle* m_handle = nullptr;
};

// As forEachDirectoryEntry, also handing `visit` the directory's descriptor.
template <typename Visit> bool forEachDirectoryEntryWithFd(const std::string& path, Visit&& visit) {
    auto* handle = detail::openDirectory(path);
    if (handle == nullptr) {
        return false;
    }
    const int fd = detail::directoryFd(handle);
    while (const char* name = detail::nextEntry(handle)) {
        visit(fd, std::string_view(name));
    }
    detail::closeDirectory(handle);
    return true;
}

template <typename Visit> bool forEachDirectoryEntry(const std::string& path, Visit&& visit) {
    auto* handle = detail::openDirectory(path);
    if (handle == nullptr) {
        return false;
    }
    while (const char* name = detail::nextEntry(handle)) {
        visit(std::string_view(name));
    }
    detail::closeDirectory(handle);
    return true;
}

} // namespace pw::platform
