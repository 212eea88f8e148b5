#pragma once

// Which GPUs the machine has: every /sys/class/drm/card<N> with a device behind
// it (connectors such as card0-DP-1 and render nodes are not GPUs), and whether
// one is asleep.

#include "platform/gpu_source.h"
#include "platform/root_path.h"

#include <string>
#include <string_view>
#include <vector>

namespace pw::platform::gpu {

struct CardPaths {
    GpuDevice identity;             // card, driver, name, pciAddress, integrated
    std::string cardDir;            // .../class/drm/card0/
    std::string deviceDir;          // .../class/drm/card0/device/
    std::vector<std::string> nodes; // its /dev/dri names: "card0", "renderD128"
};

struct CardScan {
    std::vector<CardPaths> cards;
    // The PCI address of every GPU the NVIDIA driver holds, with or without a
    // card: NVML opens each of them.
    std::vector<std::string> nvidiaAddresses;
};

// Reads, of each card, only its links and the PCI core's vendor and device
// attributes: the PCI core answers those from its own copy made at
// enumeration, without calling the driver, so they never wake a card.
CardScan scanCards(const RootPath& root, std::string& buffer);

// "suspended" and "suspending" in power/runtime_status.
bool runtimeStatusAsleep(std::string_view text);
// "D3cold" in power_state.
bool powerStateAsleep(std::string_view text);

// The device sleeps: anything else read of it would wake it. Reads
// power/runtime_status and, only while that says awake, power_state.
bool deviceAsleep(const std::string& deviceDir, std::string& buffer);

} // namespace pw::platform::gpu
