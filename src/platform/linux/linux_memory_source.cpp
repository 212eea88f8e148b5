#include "platform/linux/linux_memory_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/memory_parsers.h"
#include "platform/linux/sysfs_files.h"

#include <algorithm>
#include <utility>

namespace pw::platform {

LinuxMemorySource::LinuxMemorySource(RootPath root, std::shared_ptr<Clock> clock)
    : m_root(std::move(root)), m_clock(std::move(clock)), m_meminfo(m_root.proc("meminfo")),
      m_blockDir(m_root.sys("block/")) {}

std::vector<std::string> LinuxMemorySource::scanZramDevices() {
    std::vector<std::string> paths;
    for (const auto& [number, name] : numberedEntries(m_blockDir, "zram")) {
        paths.push_back(m_blockDir.path() + name + "/mm_stat");
    }
    return paths;
}

std::optional<MemoryCounters> LinuxMemorySource::memory() {
    const auto text = m_meminfo.read(m_buffer);
    if (!text) {
        m_pendingSwap.reset();
        return std::nullopt;
    }
    const auto info = parseMeminfo(*text);
    const double now = m_clock->monotonicSeconds();
    m_pendingSwap = SwapFigures{info.swapTotal, info.swapFree, now};
    if (!info.memTotal) {
        return std::nullopt;
    }
    MemoryCounters counters;
    counters.totalBytes = *info.memTotal;
    counters.wiredBytes = info.sUnreclaim.value_or(0) + info.kernelStack.value_or(0) +
                          info.pageTables.value_or(0) + info.unevictable.value_or(0);
    counters.appBytes = info.anonPages.value_or(0);
    counters.compressedBytes = info.zswap.value_or(0);
    const auto& paths = m_zramStatPaths.get(now, [&] { return scanZramDevices(); });
    if (!std::equal(
            paths.begin(), paths.end(), m_zramStats.begin(), m_zramStats.end(),
            [](const std::string& path, const KernelFile& file) { return path == file.path(); })) {
        m_zramStats.clear();
        for (const std::string& path : paths) {
            m_zramStats.emplace_back(path);
        }
    }
    for (KernelFile& file : m_zramStats) {
        const auto stat = file.read(m_buffer);
        if (const auto used = stat ? parseZramMemUsed(*stat) : std::nullopt) {
            counters.compressedBytes += *used;
        }
    }
    return counters;
}

std::optional<SwapCounters> LinuxMemorySource::swap() {
    constexpr double sameCycleSeconds = 0.05;
    std::optional<SwapFigures> swap;
    swap.swap(m_pendingSwap);
    if (!swap || m_clock->monotonicSeconds() - swap->at > sameCycleSeconds) {
        const auto text = m_meminfo.read(m_buffer);
        if (!text) {
            return std::nullopt;
        }
        const auto info = parseMeminfo(*text);
        swap = SwapFigures{info.swapTotal, info.swapFree, 0.0};
    }
    if (!swap->total || !swap->free) {
        return std::nullopt;
    }
    const std::uint64_t used = *swap->total > *swap->free ? *swap->total - *swap->free : 0;
    return SwapCounters{used, *swap->total};
}

} // namespace pw::platform
