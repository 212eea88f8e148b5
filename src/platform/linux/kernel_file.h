#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pw::platform {

// A file that procfs or sysfs generates afresh on every read from its start
// (/proc/stat, /proc/meminfo, /proc/net/dev, sysfs attributes), kept open and
// read again with pread: one system call a cycle instead of open, read, read
// and close. Only a regular file on procfs or sysfs is kept open; anything
// else (a file under a test root, a FIFO) is read the ordinary way each time.
// A failed read closes the descriptor, so the next one opens the path again
// (a hot-plugged device that came back).
class KernelFile {
public:
    explicit KernelFile(std::string path);
    ~KernelFile();
    KernelFile(KernelFile&& other) noexcept;
    KernelFile& operator=(KernelFile&& other) noexcept;
    KernelFile(const KernelFile&) = delete;
    KernelFile& operator=(const KernelFile&) = delete;

    // The whole contents, in `buffer` (valid until its next use); absent
    // when the file cannot be opened or read.
    std::optional<std::string_view> read(std::string& buffer);
    const std::string& path() const { return m_path; }
    bool keptOpen() const { return m_fd >= 0; }

private:
    void close();

    std::string m_path;
    int m_fd = -1;
};

} // namespace pw::platform
