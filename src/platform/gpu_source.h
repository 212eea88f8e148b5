#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// One GPU and the figures its driver offers; what it does not offer is absent.
struct GpuDevice {
    std::string card;                  // "card0"
    std::string driver;                // "amdgpu", "i915", "xe", "nvidia"
    std::string name;                  // readable name; the driver when nothing better
    std::string pciAddress;            // "0000:03:00.0"; empty when not on PCI
    bool integrated = false;           // shares memory with the CPU
    bool suspended = false;            // asleep: nothing else was read
    std::optional<double> busyPercent; // engine utilisation, 0–100
    std::optional<double> memoryBusyPercent;
    std::optional<double> temperatureCelsius;
    std::optional<std::uint64_t> vramUsedBytes;
    std::optional<std::uint64_t> vramTotalBytes;
    std::optional<double> powerWatts;
    std::optional<double> clockMHz;
    std::optional<double> fanRpm;
    std::optional<double> fanPercent; // NVIDIA gives the fan's duty, not its speed
    // The busy figure is summed over the processes this user may read, and
    // some were not readable.
    bool busyIsPartial = false;
    bool operator==(const GpuDevice&) const = default;
};

// A process using a GPU: the busiest of its engines over the last cycle, as a
// share of that engine's time.
struct GpuProcess {
    int pid = 0;
    std::string name;
    std::string card; // "card1"
    double busyPercent = 0.0;
    bool operator==(const GpuProcess&) const = default;
};

struct GpuProcesses {
    std::vector<GpuProcess> busiest; // busiest first
    // Processes whose open files this user may not see: their GPU use is not
    // in the figures.
    int unreadableProcesses = 0;
    bool operator==(const GpuProcesses&) const = default;
};

class GpuSource {
public:
    virtual ~GpuSource() = default;
    // Every GPU, in card order; empty when there is none.
    virtual std::vector<GpuDevice> gpus() = 0;
    // The processes using a GPU as the last gpus() found them, busiest first.
    virtual GpuProcesses gpuProcesses() { return {}; }
    // Cumulative busy time of a neural processing unit in microseconds; absent
    // when there is no NPU that reports one.
    virtual std::optional<std::uint64_t> npuBusyMicroseconds() = 0;
};

} // namespace pw::platform
