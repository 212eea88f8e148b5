#pragma once

#include <cmath>
#include <optional>

namespace pw {

// Limits beyond which a reading is a broken sensor or a garbled file, not the
// machine: such a reading is unknown for that cycle. Each figure's sampler
// applies its limit, so nothing downstream ever sees the raw value.
namespace plausible {

inline constexpr double kMaxClockGHz = 10.0;
inline constexpr double kMinCelsius = -40.0;
inline constexpr double kMaxCelsius = 150.0;
inline constexpr double kMaxFanRpm = 50000.0;
inline constexpr double kMaxBatteryWatts = 1000.0;

// `value` when it lies in [low, high] (a closed range), else absent.
inline std::optional<double> within(std::optional<double> value, double low, double high) {
    if (!value || !std::isfinite(*value) || *value < low || *value > high)
        return std::nullopt;
    return value;
}

} // namespace plausible
} // namespace pw
