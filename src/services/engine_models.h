#pragma once

#include "services/cpu/cpu_details_monitor.h"
#include "services/fans/fan_monitor.h"
#include "services/gpu/gpu_monitor.h"
#include "services/network/network_details_monitor.h"
#include "services/stats_models.h"
#include "services/storage/storage_monitor.h"
#include "services/system_stats_provider.h"

namespace pw {

// The engine's model objects over one set of sources: the store and the
// device monitors, each monitor fed the store's snapshot every cycle before
// the store says the cycle finished.
class EngineModels {
public:
    EngineModels(const platform::Sources& sources,
                 std::shared_ptr<platform::DesktopNotifier> notifier,
                 std::function<double()> alertThreshold);

    StatsModels models() { return {stats, cpu, gpu, storage, network, fans}; }

    SystemStatsProvider stats;
    CpuDetailsMonitor cpu;
    GpuMonitor gpu;
    StorageMonitor storage;
    NetworkDetailsMonitor network;
    FanMonitor fans;
};

} // namespace pw
