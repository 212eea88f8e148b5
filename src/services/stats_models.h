#pragma once

namespace pw {

class SystemStatsProvider;
class CpuDetailsMonitor;
class GpuMonitor;
class StorageMonitor;
class NetworkDetailsMonitor;
class FanMonitor;
class HistoryService;

// The model objects of the metrics engine, as the composition root built them.
// Views take what they show from here and refresh once per cycle, on the
// store's cycleFinished (every model is up to date by then).
struct StatsModels {
    SystemStatsProvider& stats;
    CpuDetailsMonitor& cpu;
    GpuMonitor& gpu;
    StorageMonitor& storage;
    NetworkDetailsMonitor& network;
    FanMonitor& fans;
    HistoryService* history = nullptr; // the stored figures; absent in tests that need none
};

} // namespace pw
