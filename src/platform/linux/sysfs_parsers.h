#pragma once

// Pure parsers for sysfs device attributes: power supplies, hwmon readings,
// numbered entry names and PCI identities.

#include "platform/power_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pw::platform {

// The POWER_SUPPLY_* lines of a power_supply uevent file. `name` is left empty.
PowerSupply parsePowerSupplyUevent(std::string_view text);

// A hwmon tempN_input or thermal_zone temp value: millidegrees Celsius to °C.
std::optional<double> parseMilliCelsius(std::string_view text);

// A hwmon powerN_average or powerN_input value: microwatts to watts; absent when
// negative.
std::optional<double> parseMicrowattsAsWatts(std::string_view text);

// A hwmon freqN_input value: hertz to MHz; absent unless positive.
std::optional<double> parseHertzAsMHz(std::string_view text);

// The number after `prefix` in a name such as "hwmon10" or "temp2_input" (the rest
// must start right after the digits with `suffix`); absent if it does not match.
std::optional<int> numberedName(std::string_view name, std::string_view prefix,
                                std::string_view suffix = {});

// A PCI vendor or device attribute such as "0x1002"; absent unless 16-bit hex.
std::optional<std::uint16_t> parsePciId(std::string_view text);

// "0000:03:00.0": domain, bus, device and function as sysfs names a PCI device.
bool isPciAddress(std::string_view name);

// A short name for a GPU: the vendor and the PCI ids ("AMD GPU [1002:73ff]") when
// known, else the driver's name.
std::string gpuName(std::string_view driver, std::optional<std::uint16_t> vendorId,
                    std::optional<std::uint16_t> deviceId);

} // namespace pw::platform
