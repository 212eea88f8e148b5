#pragma once

#include "platform/cpu_source.h"
#include "services/cpu/cpu_load.h"

#include <memory>
#include <optional>
#include <vector>

namespace pw {

// Samples the CPU tick counters once per cycle and keeps the previous sample.
class CpuSampler {
public:
    explicit CpuSampler(std::shared_ptr<platform::CpuSource> source);

    struct Reading {
        std::optional<CpuLoad> load;    // absent on the first cycle or a failed read
        std::optional<double> clockGHz; // absent when not reported or implausible
        // Ticks per mode of all CPUs since boot; absent when unreadable.
        std::optional<platform::CpuTicks> totals;
        std::vector<platform::CpuTicks> perCpu; // the same per CPU; empty when unreadable
    };
    // The clock is read only `withClock`.
    Reading sample(bool withClock = true);
    // The current clock speed; absent when not reported or implausible.
    std::optional<double> clockGHz() const;

    const CpuClusters& clusters() const { return m_clusters; }
    // Whether the machine told us of efficiency cores (not the 4 + 4 fallback).
    bool hasEfficiencyCores() const { return m_hasEfficiencyCores; }

private:
    std::shared_ptr<platform::CpuSource> m_source;
    CpuClusters m_clusters;
    bool m_hasEfficiencyCores = false;
    std::optional<std::vector<platform::CpuTicks>> m_previous;
};

} // namespace pw
