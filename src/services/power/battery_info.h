#pragma once

#include "platform/power_source.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

// What the battery reports doing; a state the kernel does not know is absent.
enum class BatteryState { Charging, Discharging, Full, NotCharging };

struct BatteryInfo {
    std::optional<std::int64_t> percentage; // truncated toward zero
    bool isCharging = false;
    std::optional<BatteryState> state;
    std::optional<std::int64_t> timeToEmpty; // minutes, while discharging
    std::optional<double> wattage;           // never negative
    bool operator==(const BatteryInfo&) const = default;
};

// "charging", "discharging", "full", "not-charging": the JSON words.
const char* batteryStateKey(BatteryState state);
// "Charging", "Discharging", "Charged", "Not charging": what people read.
const char* batteryStateText(BatteryState state);

// The internal battery: the first supply by name whose type is "Battery" and
// whose scope is not "Device" (a mouse or headset reports its own battery).
// A charge outside 0–100 % or a draw above 1,000 W is a broken reading and
// unknown.
std::optional<BatteryInfo> batteryInfoFrom(const std::vector<platform::PowerSupply>& supplies);

} // namespace pw
