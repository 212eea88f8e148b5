#pragma once

#include "platform/clock.h"
#include "platform/cpu_source.h"
#include "platform/linux/kernel_file.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"

#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// CPU ticks from /proc/stat, the core split from the hybrid PMUs' CPU lists or
// the CPU capacities, and the clock from the cpufreq policies (/proc/cpuinfo
// where there are none). Which policies exist is rescanned every 10 s.
class LinuxCpuSource : public CpuSource {
public:
    LinuxCpuSource(RootPath root, std::shared_ptr<Clock> clock);

    std::optional<std::vector<CpuTicks>> cpuTicks() override;
    CoreTopology coreTopology() override;
    std::optional<double> clockMHz() override;

private:
    struct CapacitySplit {
        std::vector<int> efficiencyCpus;
        int performanceCount = 0;
    };
    struct ClockPolicy {
        std::string path; // its scaling_cur_freq
        int cpuCount = 1;
    };
    std::optional<std::vector<int>> readCpuList(const std::string& path);
    std::optional<int> onlineCpuCount();
    std::optional<CapacitySplit> splitByCapacity();
    std::vector<ClockPolicy> scanClockPolicies();

    RootPath m_root;
    std::shared_ptr<Clock> m_clock;
    KernelFile m_stat;    // /proc/stat
    std::string m_cpuDir; // sys/devices/system/cpu/
    std::string m_buffer;
    RescanCache<std::vector<ClockPolicy>> m_policies;
    // cpuinfo is long and costly to generate: read at the rescan interval.
    RescanCache<std::optional<double>> m_cpuinfoMHz;
};

} // namespace pw::platform
