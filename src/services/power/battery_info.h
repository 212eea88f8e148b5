#pragma once

#include <cstdint>

// Build stand-in for the battery description while the engine is rewritten.
namespace pw {
struct BatteryInfo {
    std::int64_t percentage = 0;
    bool isCharging = false;
    std::int64_t timeToEmpty = 0;
    double wattage = 0.0;
};
} // namespace pw
