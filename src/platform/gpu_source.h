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
    bool operator==(const GpuDevice&) const = default;
};

class GpuSource {
public:
    virtual ~GpuSource() = default;
    // Every GPU, in card order; empty when there is none.
    virtual std::vector<GpuDevice> gpus() = 0;
    // Cumulative busy time of a neural processing unit in microseconds; absent
    // when there is no NPU that reports one.
    virtual std::optional<std::uint64_t> npuBusyMicroseconds() = 0;
};

} // namespace pw::platform
