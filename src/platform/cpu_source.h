#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace pw::platform {

// Cumulative ticks of one logical CPU since boot, mapped onto the four states
// the load formula knows. `cpu` is the kernel's CPU number, not a position.
struct CpuTicks {
    int cpu = 0;
    std::uint64_t user = 0;
    std::uint64_t system = 0;
    std::uint64_t idle = 0;
    std::uint64_t nice = 0;
    bool operator==(const CpuTicks&) const = default;
};

// How the logical CPUs split into performance levels. Level 0 is the
// performance cores, level 1 the efficiency cores; a level the machine does not
// have is absent. `efficiencyCpus` names the efficiency CPUs when the platform
// knows the membership and not just the count.
struct CoreTopology {
    std::optional<int> performanceLevel0;
    std::optional<int> performanceLevel1;
    std::optional<std::vector<int>> efficiencyCpus;
};

class CpuSource {
public:
    virtual ~CpuSource() = default;
    // Absent when the tick table cannot be read.
    virtual std::optional<std::vector<CpuTicks>> cpuTicks() = 0;
    virtual CoreTopology coreTopology() = 0;
    // Mean current clock of the online CPUs in MHz; absent when none is reported.
    virtual std::optional<double> clockMHz() = 0;
};

} // namespace pw::platform
