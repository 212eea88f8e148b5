#include "services/power/battery_info.h"

#include "services/engine/plausible.h"

#include <cmath>
#include <limits>

namespace pw {
namespace {

std::optional<std::int64_t> truncatedPercent(double numerator, double denominator) {
    if (!(denominator > 0.0))
        return std::nullopt;
    const std::optional<double> value =
        plausible::within(numerator / denominator * 100.0, 0.0, 100.0);
    if (!value)
        return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

std::optional<BatteryState> stateFrom(const std::string& status) {
    if (status == "Charging")
        return BatteryState::Charging;
    if (status == "Discharging")
        return BatteryState::Discharging;
    if (status == "Full")
        return BatteryState::Full;
    if (status == "Not charging")
        return BatteryState::NotCharging;
    return std::nullopt;
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

const char* batteryStateKey(BatteryState state) {
    switch (state) {
    case BatteryState::Charging:
        return "charging";
    case BatteryState::Discharging:
        return "discharging";
    case BatteryState::Full:
        return "full";
    case BatteryState::NotCharging:
        break;
    }
    return "not-charging";
}

const char* batteryStateText(BatteryState state) {
    switch (state) {
    case BatteryState::Charging:
        return "Charging";
    case BatteryState::Discharging:
        return "Discharging";
    case BatteryState::Full:
        return "Charged";
    case BatteryState::NotCharging:
        break;
    }
    return "Not charging";
}

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
        info.state = stateFrom(s.status);
        const std::optional<double> microwatts = drawMicrowatts(s);
        if (microwatts)
            info.wattage = plausible::within(*microwatts / 1e6, 0.0, plausible::kMaxBatteryWatts);
        // An estimate from a battery whose charge reads as nonsense is nonsense too.
        const bool chargeReported =
            s.capacity || (s.energyNow && s.energyFull) || (s.chargeNow && s.chargeFull);
        if (info.percentage || !chargeReported)
            info.timeToEmpty = minutesToEmpty(s, info.wattage ? microwatts : std::nullopt);
        return info;
    }
    return std::nullopt;
}

} // namespace pw
