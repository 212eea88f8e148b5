#include "platform/linux/linux_power_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"
#include "platform/linux/sysfs_parsers.h"

#include <algorithm>
#include <utility>

namespace pw::platform {

LinuxPowerSource::LinuxPowerSource(RootPath root, std::shared_ptr<Clock> clock)
    : m_clock(std::move(clock)), m_supplies(root.sys("class/power_supply/")) {}

std::vector<std::string> LinuxPowerSource::scanSupplies() {
    std::vector<std::string> names;
    m_supplies.forEach([&](std::string_view name) { names.emplace_back(name); });
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<PowerSupply> LinuxPowerSource::readSupply(const std::string& name) {
    const std::string dir = m_supplies.path() + name + "/";
    PowerSupply supply;
    if (const auto uevent = readFile(dir + "uevent", m_buffer)) {
        supply = parsePowerSupplyUevent(*uevent);
        if (supply.type.empty()) {
            // Older kernels leave the type out of uevent.
            supply.type = readTrimmed(dir + "type", m_buffer).value_or(std::string());
        }
    } else {
        const auto type = readTrimmed(dir + "type", m_buffer);
        if (!type) {
            return std::nullopt;
        }
        supply.type = *type;
        supply.scope = readTrimmed(dir + "scope", m_buffer).value_or(std::string());
        supply.status = readTrimmed(dir + "status", m_buffer).value_or(std::string());
        const std::pair<const char*, std::optional<std::int64_t> PowerSupply::*> numbers[] = {
            {"capacity", &PowerSupply::capacity},      {"energy_now", &PowerSupply::energyNow},
            {"energy_full", &PowerSupply::energyFull}, {"charge_now", &PowerSupply::chargeNow},
            {"charge_full", &PowerSupply::chargeFull}, {"power_now", &PowerSupply::powerNow},
            {"voltage_now", &PowerSupply::voltageNow}, {"current_now", &PowerSupply::currentNow},
        };
        for (const auto& [file, member] : numbers) {
            supply.*member = readInteger(dir + file, m_buffer);
        }
    }
    supply.name = name;
    return supply;
}

std::vector<PowerSupply> LinuxPowerSource::powerSupplies() {
    const auto& names = m_names.get(m_clock->monotonicSeconds(), [&] { return scanSupplies(); });
    std::vector<PowerSupply> supplies;
    supplies.reserve(names.size());
    bool vanished = false;
    for (const auto& name : names) {
        if (auto supply = readSupply(name)) {
            supplies.push_back(std::move(*supply));
        } else {
            vanished = true;
        }
    }
    if (vanished) {
        m_names.invalidate(); // an unplugged mouse or UPS: look again next time
    }
    return supplies;
}

} // namespace pw::platform
