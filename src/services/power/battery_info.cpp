#include "services/power/battery_info.h"

#include <cmath>
#include <limits>

namespace pw {
namespace {

std::optional<std::int64_t> truncatedPercent(double numerator, double denominator) {
    if (!(denominator > 0.0))
        return std::nullopt;
    const double value = numerator / denominator * 100.0;
    if (!std::isfinite(value) || std::fabs(value) > 1e15)
        return std::nullopt;
    return static_cast<std::int64_t>(value);
}

// Present draw in µW: the kernel's own figure, else |voltage| × |current|.
std::optional<double> drawMicrowatts(const platform::PowerSupply& s) {
    if (s.powerNow)
        return std::fabs(static_cast<double>(*s.powerNow));
    if (s.voltageNow && s.currentNow)
        return std::fabs(static_cast<double>(*s.voltageNow)) *
               std::fabs(static_cast<double>(*s.currentNow)) / 1e6;
    return std::nullopt;
}

std::optional<std::int64_t> minutesToEmpty(const platform::PowerSupply& s,
                                           std::optional<double> microwatts) {
    if (s.status != "Discharging")
        return std::nullopt;
    double hours = -1.0;
    if (s.energyNow && microwatts && *microwatts > 0.0)
        hours = static_cast<double>(*s.energyNow) / *microwatts;
    else if (s.chargeNow && s.currentNow && *s.currentNow != 0)
        hours = static_cast<double>(*s.chargeNow) / std::fabs(static_cast<double>(*s.currentNow));
    if (hours < 0.0 || !std::isfinite(hours) || hours > 1e6)
        return std::nullopt;
    return static_cast<std::int64_t>(hours * 60.0);
}

} // namespace

std::optional<BatteryInfo> batteryInfoFrom(const std::vector<platform::PowerSupply>& supplies) {
    for (const platform::PowerSupply& s : supplies) {
        if (s.type != "Battery" || s.scope == "Device")
            continue;
        BatteryInfo info;
        if (s.capacity)
            info.percentage = truncatedPercent(static_cast<double>(*s.capacity), 100.0);
        else if (s.energyNow && s.energyFull)
            info.percentage = truncatedPercent(static_cast<double>(*s.energyNow),
                                               static_cast<double>(*s.energyFull));
        else if (s.chargeNow && s.chargeFull)
            info.percentage = truncatedPercent(static_cast<double>(*s.chargeNow),
                                               static_cast<double>(*s.chargeFull));
        info.isCharging = s.status == "Charging";
        const std::optional<double> microwatts = drawMicrowatts(s);
        if (microwatts)
            info.wattage = *microwatts / 1e6;
        info.timeToEmpty = minutesToEmpty(s, microwatts);
        return info;
    }
    return std::nullopt;
}

} // namespace pw
