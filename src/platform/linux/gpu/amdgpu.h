#pragma once

#include "platform/gpu_source.h"

#include <string>

namespace pw::platform::gpu {

// amdgpu's own files in the PCI device folder: engine and memory controller
// busy percentages, VRAM used and total. Only for a card that is awake.
void readAmdgpuFigures(const std::string& deviceDir, std::string& buffer, GpuDevice& gpu);

} // namespace pw::platform::gpu
