#include "platform/linux/linux_process_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/process_parsers.h"
#include "platform/linux/text_scan.h"

#include <algorithm>

#include <unistd.h>

namespace pw::platform {

namespace {

bool isAllDigits(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), isDigit);
}

} // namespace

LinuxProcessSource::LinuxProcessSource(RootPath root) : m_procDir(root.proc("")) {}

std::string LinuxProcessSource::pidDir(int pid) const {
    return m_procDir + std::to_string(pid) + "/";
}

std::optional<std::vector<ProcessStat>> LinuxProcessSource::processTable() {
    std::vector<ProcessStat> table;
    table.reserve(m_lastProcessCount + 16);
    // Each stat is opened relative to the open /proc, in one read: a few hundred
    // processes make this the dearest reading of all.
    const bool listed =
        forEachDirectoryEntryWithFd(m_procDir, [&](int procFd, std::string_view name) {
            if (!isAllDigits(name)) {
                return;
            }
            m_path.assign(name).append("/stat");
            const auto text = readProcFileAt(procFd, m_path.c_str(), m_buffer);
            if (!text) {
                return; // exited since the listing
            }
            auto stat = parseProcessStat(*text);
            if (stat && std::to_string(stat->pid) == name) {
                table.push_back(std::move(*stat));
            }
        });
    if (!listed) {
        return std::nullopt;
    }
    m_lastProcessCount = table.size();
    return table;
}

std::optional<std::string> LinuxProcessSource::executable(int pid) {
    auto target = readSymlink(pidDir(pid) + "exe");
    if (!target) {
        return std::nullopt;
    }
    target->resize(withoutDeletedMark(*target).size());
    return target;
}

std::optional<std::vector<std::string>> LinuxProcessSource::arguments(int pid) {
    const auto text = readFile(pidDir(pid) + "cmdline", m_buffer);
    if (!text) {
        return std::nullopt;
    }
    return parseCmdline(*text);
}

long LinuxProcessSource::ticksPerSecond() {
    const long ticks = ::sysconf(_SC_CLK_TCK);
    return ticks > 0 ? ticks : 100;
}

ProcessResources LinuxProcessSource::resources(int pid) {
    ProcessResources resources;
    const std::string dir = pidDir(pid);
    if (const auto text = readFile(dir + "statm", m_buffer)) {
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        if (const auto pages = parseStatmResidentPages(*text); pages && pageSize > 0) {
            resources.residentBytes = *pages * static_cast<std::uint64_t>(pageSize);
        }
    }
    // Only the owner (or a privileged reader) may open another process's io.
    if (const auto text = readFile(dir + "io", m_buffer)) {
        const ProcessIoBytes io = parseProcessIo(*text);
        resources.storageReadBytes = io.readBytes;
        resources.storageWrittenBytes = io.writeBytes;
    }
    return resources;
}

} // namespace pw::platform
