#pragma once

#include "platform/system_counters.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

struct BatteryInfo {
    std::int64_t percentage = 0; // truncated toward zero
    bool isCharging = false;
    std::int64_t timeToEmpty = 0; // minutes; -1 when it cannot be known
    double wattage = 0.0;         // always positive
    bool operator==(const BatteryInfo&) const = default;
};

// The internal battery: the first supply by name whose type is "Battery" and
// whose scope is not "Device" (a mouse or headset reports its own battery).
std::optional<BatteryInfo> batteryInfoFrom(const std::vector<platform::PowerSupply>& supplies);

} // namespace pw
