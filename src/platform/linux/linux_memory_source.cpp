#include "platform/linux/linux_memory_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/memory_parsers.h"
#include "platform/linux/sysfs_files.h"

#include <utility>

namespace pw::platform {

LinuxMemorySource::LinuxMemorySource(RootPath root, std::shared_ptr<Clock> clock)
    : m_root(std::move(root)), m_clock(std::move(clock)), m_meminfo(m_root.proc("meminfo")) {}

std::vector<KernelFile> LinuxMemorySource::scanZramDevices() {
    std::vector<KernelFile> files;
    const std::string blockDir = m_root.sys("block/");
    for (const auto& [number, name] : numberedEntries(blockDir, "zram")) {
        files.emplace_back(blockDir + name + "/mm_stat");
    }
    return files;
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
    for (KernelFile& file : m_zramStats.get(now, [&] { return scanZramDevices(); })) {
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
