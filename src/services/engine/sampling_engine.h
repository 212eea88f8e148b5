#pragma once

#include "platform/sources.h"
#include "services/cpu/cpu_sampler.h"
#include "services/demand/demand.h"
#include "services/engine/fixed_history.h"
#include "services/engine/snapshot.h"
#include "services/gpu/gpu_sampler.h"
#include "services/memory/memory_sampler.h"
#include "services/network/network_sampler.h"
#include "services/storage/storage_sampler.h"
#include "services/thermal/hid_monitor.h"

#include <cstdint>

namespace pw {

// One cycle's readings, area by area, in a fixed order: CPU, memory, network,
// disk, temperature, fans, battery, GPU, neural engine. Each sampler keeps
// its own previous readings; a reading that fails leaves its figures as the
// previous cycle had them. Slow-moving readings (route, connections, volume)
// are taken on the first cycle and every kSlowCycleInterval-th after. The
// readings of `Demand` are taken only while someone wants them.
class SamplingEngine {
public:
    static constexpr int kSlowCycleInterval = 5;
    static constexpr auto kSensorKey = "Tp09";

    // Without `demand` every reading is taken.
    explicit SamplingEngine(const platform::Sources& sources, const Demand* demand = nullptr);

    // Turns the previous cycle's snapshot into this one's.
    void runCycle(Snapshot& snapshot);
    // Takes one reading now, for a consumer that just arrived.
    void sampleNow(Reading reading, Snapshot& snapshot);

    const CpuSampler& cpu() const { return m_cpu; }

private:
    void applyCpu(Snapshot& snapshot);
    void applyBattery(Snapshot& snapshot);
    void applyFans(Snapshot& snapshot);
    void applyGpu(Snapshot& snapshot);
    bool wanted(Reading reading) const { return !m_demand || m_demand->wanted(reading); }

    platform::Sources m_sources;
    const Demand* m_demand;
    CpuSampler m_cpu;
    FixedHistory<60> m_cpuHistory;
    MemorySampler m_memory;
    NetworkSampler m_network;
    StorageSampler m_storage;
    HIDMonitor m_hidMonitor;
    GpuSampler m_gpu;
    std::uint64_t m_cycle = 0;
};

} // namespace pw
