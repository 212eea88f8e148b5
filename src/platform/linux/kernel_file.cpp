#include "platform/linux/kernel_file.h"

#include "platform/linux/file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <utility>

namespace pw::platform {
namespace {

// No kernel table we read comes near this; an endless file stops here.
constexpr std::size_t kMaxBytes = 4u << 20;

// A descriptor worth keeping: a regular file of procfs or sysfs.
int openKernelFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {};
    struct statfs fs {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::fstatfs(fd, &fs) == 0 &&
        (fs.f_type == PROC_SUPER_MAGIC || fs.f_type == SYSFS_MAGIC))
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

KernelFile::KernelFile(std::string path) : m_path(std::move(path)) {}

KernelFile::~KernelFile() {
    close();
}

KernelFile::KernelFile(KernelFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_fd(std::exchange(other.m_fd, -1)) {}

KernelFile& KernelFile::operator=(KernelFile&& other) noexcept {
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void KernelFile::close() {
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

std::optional<std::string_view> KernelFile::read(std::string& buffer) {
    if (m_fd < 0)
        m_fd = openKernelFile(m_path);
    if (m_fd < 0)
        return readFile(m_path, buffer);
    if (buffer.size() < 4096)
        buffer.resize(4096);
    std::size_t used = 0;
    for (;;) {
        const ssize_t n =
            ::pread(m_fd, buffer.data() + used, buffer.size() - used, static_cast<off_t>(used));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close();
            return std::nullopt;
        }
        const std::size_t wanted = buffer.size() - used;
        used += static_cast<std::size_t>(n);
        // These files come whole from the first read at an offset: a short
        // read is the end, with no second call to see 0.
        if (static_cast<std::size_t>(n) < wanted)
            break;
        if (used == buffer.size()) {
            if (buffer.size() >= kMaxBytes)
                break;
            buffer.resize(buffer.size() * 2);
        }
    }
    return std::string_view(buffer.data(), used);
}

} // namespace pw::platform
