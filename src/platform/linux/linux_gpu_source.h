#pragma once

#include "platform/clock.h"
#include "platform/gpu_source.h"
#include "platform/linux/gpu/card_scan.h"
#include "platform/linux/gpu/drm_clients.h"
#include "platform/linux/gpu/hwmon_figures.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

namespace gpu {
class NvmlLibrary;
}

struct GpuSourceOptions {
    // As dlopen takes it; a path loads that file.
    std::string nvmlLibrary = "libnvidia-ml.so.1";
    // How often every process's open files are walked for new GPU clients.
    double clientFileScanSeconds = 5.0;
};

// Every GPU card with the figures its driver offers: amdgpu's sysfs files,
// i915's and xe's frequency, NVIDIA's through NVML, the temperature, power,
// clock and fan of a card's hwmon folder, and the load of cards without a load
// file from the DRM clients' engine counters. A card asleep in runtime suspend
// or D3cold is reported as such and nothing else of it is read, since reading
// would wake it; NVML runs only while every NVIDIA GPU is awake. The NPU's
// busy time comes from /sys/class/accel. Which cards and files exist is
// rescanned every 10 s.
class LinuxGpuSource : public GpuSource {
public:
    LinuxGpuSource(RootPath root, std::shared_ptr<Clock> clock, GpuSourceOptions options = {});
    ~LinuxGpuSource() override;

    std::vector<GpuDevice> gpus() override;
    GpuProcesses gpuProcesses() override;
    std::optional<std::uint64_t> npuBusyMicroseconds() override;

private:
    // What a card's driver offers, looked up once the card is seen awake.
    struct Offered {
        gpu::HwmonFiles hwmon;
        std::string intelClock;
    };
    const gpu::CardScan& cards(double now);
    GpuDevice read(const gpu::CardPaths& card, std::size_t index, bool asleep);
    void readNvidia(const gpu::CardScan& scan, std::vector<GpuDevice>& devices, double now);
    std::optional<std::string> scanNpu();

    RootPath m_root;
    std::shared_ptr<Clock> m_clock;
    GpuSourceOptions m_options;
    std::string m_buffer;
    RescanCache<gpu::CardScan> m_scan;
    std::vector<std::optional<Offered>> m_offered;
    gpu::DrmClientTracker m_clients;
    std::unique_ptr<gpu::NvmlLibrary> m_nvml;
    double m_nvmlRetryAt = 0.0;
    RescanCache<std::optional<std::string>> m_npuPath;
};

} // namespace pw::platform
