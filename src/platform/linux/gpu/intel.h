#pragma once

// Intel's i915 and xe drivers: the GPU's actual frequency. Their load comes
// from the DRM clients' engine counters (drm_clients.h).

#include <optional>
#include <string>

namespace pw::platform::gpu {

bool isIntelDriver(const std::string& driver);

// The file holding the actual frequency in MHz: i915's card<N>/gt_act_freq_mhz
// (or gt/gt0/rps_act_freq_mhz), xe's device/tile0/gt0/freq0/act_freq; empty
// when the driver offers none. Only for a card that is awake.
std::string findIntelClockFile(const std::string& driver, const std::string& cardDir,
                               const std::string& deviceDir);

// The frequency in MHz; 0 while the GPU idles in its sleep state is a reading.
std::optional<double> readIntelClock(const std::string& path, std::string& buffer);

} // namespace pw::platform::gpu
