#pragma once

// A GPU's figures under the keys every output writes them with, in order: the
// app's JSON and the GPU probe alike. `visit(key, value)` gets a std::string,
// a bool, or an optional number (absent: unknown).

#include "platform/gpu_source.h"

namespace pw::platform {

template <typename Visit> void forEachGpuField(const GpuDevice& gpu, Visit&& visit) {
    visit("name", gpu.name);
    visit("driver", gpu.driver);
    visit("pciAddress", gpu.pciAddress);
    visit("busy", gpu.busyPercent);
    visit("memoryBusy", gpu.memoryBusyPercent);
    visit("vramUsedBytes", gpu.vramUsedBytes);
    visit("vramTotalBytes", gpu.vramTotalBytes);
    visit("temperature", gpu.temperatureCelsius);
    visit("powerWatts", gpu.powerWatts);
    visit("clockMHz", gpu.clockMHz);
    visit("fanRpm", gpu.fanRpm);
    visit("fanPercent", gpu.fanPercent);
    visit("suspended", gpu.suspended);
}

} // namespace pw::platform
