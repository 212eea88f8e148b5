#pragma once

#include "platform/cpu_source.h"

#include <optional>
#include <vector>

namespace pw {

// Which CPUs form the efficiency cluster. With a known membership each CPU is
// classified by it; otherwise CPUs numbered below `eCoreCount` are efficiency
// cores, as the counts alone allow.
struct CpuClusters {
    int eCoreCount = 0;
    int pCoreCount = 0;
    std::optional<std::vector<int>> efficiencyCpus;

    bool isEfficiency(int cpu) const;
};

// The fallback rules for the two counts: a failed query leaves in the buffer
// what the previous one put there, and two zeros mean 4 and 4.
CpuClusters clustersFromTopology(const platform::CoreTopology& topology);

struct CpuLoad {
    double eClusterUsage = 0.0;
    double pClusterUsage = 0.0;
    double cpuUsage = 0.0;
    // Percent of all counted ticks spent in user mode (with nice) and in
    // system mode.
    double userUsage = 0.0;
    double systemUsage = 0.0;
    std::vector<double> perCpu; // fraction 0..1 per CPU counted, in CPU-number order
    std::vector<int> cpus;      // the CPU number of each perCpu entry
};

// Load between two samples. CPUs present in only one sample are not counted; a
// counter that went backwards contributes a delta of 0. Absent when no CPU is
// in both samples.
std::optional<CpuLoad> computeCpuLoad(const std::vector<platform::CpuTicks>& previous,
                                      const std::vector<platform::CpuTicks>& current,
                                      const CpuClusters& clusters);

} // namespace pw
