#include "platform/linux/sysfs_parsers.h"

#include "platform/linux/text_scan.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace pw::platform {

namespace {

std::optional<double> scaled(std::optional<std::int64_t> value, double divisor) {
    if (!value) {
        return std::nullopt;
    }
    return static_cast<double>(*value) / divisor;
}

} // namespace

PowerSupply parsePowerSupplyUevent(std::string_view text) {
    PowerSupply supply;
    const std::pair<std::string_view, std::string PowerSupply::*> texts[] = {
        {"TYPE", &PowerSupply::type},
        {"SCOPE", &PowerSupply::scope},
        {"STATUS", &PowerSupply::status},
    };
    const std::pair<std::string_view, std::optional<std::int64_t> PowerSupply::*> numbers[] = {
        {"CAPACITY", &PowerSupply::capacity},      {"ENERGY_NOW", &PowerSupply::energyNow},
        {"ENERGY_FULL", &PowerSupply::energyFull}, {"CHARGE_NOW", &PowerSupply::chargeNow},
        {"CHARGE_FULL", &PowerSupply::chargeFull}, {"POWER_NOW", &PowerSupply::powerNow},
        {"VOLTAGE_NOW", &PowerSupply::voltageNow}, {"CURRENT_NOW", &PowerSupply::currentNow},
    };
    constexpr std::string_view prefix = "POWER_SUPPLY_";
    forEachLine(text, [&](std::string_view line) {
        line = trimmed(line);
        const auto equals = line.find('=');
        if (!line.starts_with(prefix) || equals == std::string_view::npos) {
            return;
        }
        const auto key = line.substr(prefix.size(), equals - prefix.size());
        const auto value = line.substr(equals + 1);
        for (const auto& [name, member] : texts) {
            if (key == name) {
                supply.*member = std::string(trimmed(value));
            }
        }
        for (const auto& [name, member] : numbers) {
            if (key == name) {
                supply.*member = parseInteger(value);
            }
        }
    });
    return supply;
}

std::optional<double> parseMilliCelsius(std::string_view text) {
    return scaled(parseInteger(text), 1000.0);
}

std::optional<double> parseMicrowattsAsWatts(std::string_view text) {
    const auto microwatts = parseInteger(text);
    return microwatts && *microwatts >= 0 ? scaled(microwatts, 1e6) : std::nullopt;
}

std::optional<double> parseHertzAsMHz(std::string_view text) {
    const auto hertz = parseInteger(text);
    return hertz && *hertz > 0 ? scaled(hertz, 1e6) : std::nullopt;
}

std::optional<int> numberedName(std::string_view name, std::string_view prefix,
                                std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return std::nullopt;
    }
    const auto digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (!std::all_of(digits.begin(), digits.end(), isDigit)) {
        return std::nullopt;
    }
    return wholeNumber<int>(digits);
}

std::optional<std::uint16_t> parsePciId(std::string_view text) {
    text = trimmed(text);
    if (!text.starts_with("0x") || text.size() > 6) {
        return std::nullopt;
    }
    return wholeNumber<std::uint16_t>(text.substr(2), 16);
}

bool isPciAddress(std::string_view name) {
    // dddd:bb:dd.f
    if (name.size() != 12 || name[4] != ':' || name[7] != ':' || name[10] != '.') {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (i != 4 && i != 7 && i != 10 && hexDigit(name[i]) < 0) {
            return false;
        }
    }
    return true;
}

std::string gpuName(std::string_view driver, std::optional<std::uint16_t> vendorId,
                    std::optional<std::uint16_t> deviceId) {
    if (!vendorId || !deviceId) {
        return std::string(driver);
    }
    static constexpr std::pair<std::uint16_t, std::string_view> vendors[] = {
        {0x1002, "AMD"},    {0x8086, "Intel"},  {0x10de, "NVIDIA"},     {0x1af4, "Virtio"},
        {0x1234, "QEMU"},   {0x15ad, "VMware"}, {0x80ee, "VirtualBox"}, {0x5143, "Qualcomm"},
        {0x1a03, "ASPEED"}, {0x102b, "Matrox"},
    };
    const auto* vendor = std::find_if(std::begin(vendors), std::end(vendors),
                                      [&](const auto& entry) { return entry.first == *vendorId; });
    char ids[16] = {};
    std::snprintf(ids, sizeof ids, "[%04x:%04x]", *vendorId, *deviceId);
    std::string name = vendor == std::end(vendors) ? std::string() : std::string(vendor->second);
    name += name.empty() ? "GPU " : " GPU ";
    return name + ids;
}

} // namespace pw::platform
