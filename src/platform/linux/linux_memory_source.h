#pragma once

#include "platform/clock.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/kernel_file.h"
#include "platform/memory_source.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"

#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// Memory from /proc/meminfo plus what the zram devices hold (their list is
// rescanned every 10 s).
//
// memory() keeps the swap figures of the same meminfo read, and a swap() right
// after it (within 50 ms) answers from them once: the cycle asks for both, and
// meminfo is one of the dearer files to generate.
class LinuxMemorySource : public MemorySource {
public:
    LinuxMemorySource(RootPath root, std::shared_ptr<Clock> clock);

    std::optional<MemoryCounters> memory() override;
    std::optional<SwapCounters> swap() override;

private:
    struct SwapFigures {
        std::optional<std::uint64_t> total;
        std::optional<std::uint64_t> free;
        double at = 0.0;
    };
    std::vector<std::string> scanZramDevices();

    RootPath m_root;
    std::shared_ptr<Clock> m_clock;
    KernelFile m_meminfo;
    std::string m_buffer;
    std::optional<SwapFigures> m_pendingSwap; // from the last memory(), used once
    // Kept open between rescans: opening a sysfs file costs more than reading it.
    KeptDirectory m_blockDir;
    RescanCache<std::vector<std::string>> m_zramStatPaths;
    std::vector<KernelFile> m_zramStats; // kept open while the devices stay
};

} // namespace pw::platform
