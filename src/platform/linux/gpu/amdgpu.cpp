#include "platform/linux/gpu/amdgpu.h"

#include "platform/linux/sysfs_files.h"

namespace pw::platform::gpu {

namespace {

std::optional<double> percent(const std::string& path, std::string& buffer) {
    const auto value = readCount(path, buffer);
    if (!value || *value > 100) {
        return std::nullopt;
    }
    return static_cast<double>(*value);
}

} // namespace

void readAmdgpuFigures(const std::string& deviceDir, std::string& buffer, GpuDevice& gpu) {
    gpu.busyPercent = percent(deviceDir + "gpu_busy_percent", buffer);
    gpu.memoryBusyPercent = percent(deviceDir + "mem_busy_percent", buffer);
    gpu.vramUsedBytes = readCount(deviceDir + "mem_info_vram_used", buffer);
    gpu.vramTotalBytes = readCount(deviceDir + "mem_info_vram_total", buffer);
}

} // namespace pw::platform::gpu
