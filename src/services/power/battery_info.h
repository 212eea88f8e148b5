#pragma once

#include "platform/power_source.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

struct BatteryInfo {
    std::optional<std::int64_t> percentage; // truncated toward zero
    bool isCharging = false;
    std::optional<std::int64_t> timeToEmpty; // minutes, while discharging
    std::optional<double> wattage;           // never negative
    bool operator==(const BatteryInfo&) const = default;
};

// The internal battery: the first supply by name whose type is "Battery" and
// whose scope is not "Device" (a mouse or headset reports its own battery).
std::optional<BatteryInfo> batteryInfoFrom(const std::vector<platform::PowerSupply>& supplies);

} // namespace pw
