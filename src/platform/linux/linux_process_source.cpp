#include "platform/linux/linux_process_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/process_parsers.h"
#include "platform/linux/text_scan.h"

#include <algorithm>
#include <charconv>

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
    ++m_listing;
    const bool listed =
        forEachDirectoryEntryWithFd(m_procDir, [&](int procFd, std::string_view name) {
            int pid = 0;
            if (!isAllDigits(name) ||
                std::from_chars(name.data(), name.data() + name.size(), pid).ec != std::errc{})
                return;
            const auto text = readStat(procFd, pid, name);
            if (!text)
                return; // exited since the listing
            auto stat = parseProcessStat(*text);
            if (stat && stat->pid == pid)
                table.push_back(std::move(*stat));
        });
    if (!listed)
        return std::nullopt;
    // Processes that have gone give their descriptors back; so do the
    // resource files of processes no longer asked about.
    std::erase_if(m_statFiles,
                  [this](const auto& entry) { return entry.second.listing != m_listing; });
    for (auto& [pid, kept] : m_statFiles) {
        if (kept.resourcesListing + 1 < m_listing) {
            kept.statm.reset();
            kept.io.reset();
        }
    }
    m_lastProcessCount = table.size();
    return table;
}

std::optional<std::string_view> LinuxProcessSource::readStat(int procFd, int pid,
                                                             std::string_view name) {
    auto kept = m_statFiles.find(pid);
    if (kept == m_statFiles.end() && m_statFiles.size() < kMaxKeptStatFiles)
        kept = m_statFiles
                   .emplace(pid, KeptStat{KernelFile(m_procDir + std::string(name) + "/stat"),
                                          m_listing, std::nullopt, std::nullopt, 0})
                   .first;
    if (kept == m_statFiles.end()) {
        // Past the cap: opened relative to the open /proc, in one read.
        m_path.assign(name).append("/stat");
        return readProcFileAt(procFd, m_path.c_str(), m_buffer);
    }
    kept->second.listing = m_listing;
    if (auto text = kept->second.file.read(m_buffer))
        return text;
    // A kept descriptor of a process that ended fails; the PID may already
    // belong to a new process, which the path opened afresh reaches.
    return kept->second.file.read(m_buffer);
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

std::optional<std::string_view>
LinuxProcessSource::readResource(int pid, const char* name,
                                 std::optional<KernelFile> KeptStat::*file) {
    const auto kept = m_statFiles.find(pid);
    if (kept == m_statFiles.end())
        return readFile(pidDir(pid) + name, m_buffer);
    kept->second.resourcesListing = m_listing;
    std::optional<KernelFile>& slot = kept->second.*file;
    if (!slot)
        slot.emplace(pidDir(pid) + name);
    const bool wasOpen = slot->keptOpen();
    if (auto text = slot->read(m_buffer))
        return text;
    // As with stat: the PID may belong to a new process now.
    return wasOpen ? slot->read(m_buffer) : std::nullopt;
}

ProcessResources LinuxProcessSource::resources(int pid) {
    ProcessResources resources;
    if (const auto text = readResource(pid, "statm", &KeptStat::statm)) {
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        if (const auto pages = parseStatmResidentPages(*text); pages && pageSize > 0) {
            resources.residentBytes = *pages * static_cast<std::uint64_t>(pageSize);
        }
    }
    // Only the owner (or a privileged reader) may open another process's io.
    if (const auto text = readResource(pid, "io", &KeptStat::io)) {
        const ProcessIoBytes io = parseProcessIo(*text);
        resources.storageReadBytes = io.readBytes;
        resources.storageWrittenBytes = io.writeBytes;
    }
    return resources;
}

} // namespace pw::platform
