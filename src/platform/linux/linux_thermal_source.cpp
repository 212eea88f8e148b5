#include "platform/linux/linux_thermal_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"
#include "platform/linux/sysfs_parsers.h"

#include <utility>

namespace pw::platform {

LinuxThermalSource::LinuxThermalSource(RootPath root, std::shared_ptr<Clock> clock)
    : m_clock(std::move(clock)), m_hwmonDir(root.sys("class/hwmon/")),
      m_thermalDir(root.sys("class/thermal/")) {}

void LinuxThermalSource::appendHwmonSensors(std::vector<ThermalSensor>& sensors,
                                            const std::string& dir) {
    const auto inputs = numberedEntries(dir, "temp", "_input");
    if (inputs.empty()) {
        return;
    }
    const auto chip = readTrimmed(dir + "name", m_buffer);
    for (const auto& [number, file] : inputs) {
        ThermalSensor sensor;
        sensor.productName = chip.value_or(std::string());
        const auto label = readTrimmed(dir + "temp" + std::to_string(number) + "_label", m_buffer);
        if (label && !label->empty()) {
            sensor.productName += sensor.productName.empty() ? *label : " " + *label;
        }
        sensor.handle = dir + file;
        sensors.push_back(std::move(sensor));
    }
}

std::optional<std::vector<ThermalSensor>> LinuxThermalSource::scanSensors() {
    const auto hwmons = numberedEntries(m_hwmonDir, "hwmon");
    const auto zones = numberedEntries(m_thermalDir, "thermal_zone");
    if (hwmons.empty() && zones.empty() && !pathExists(m_hwmonDir.path()) &&
        !pathExists(m_thermalDir.path())) {
        return std::nullopt;
    }
    std::vector<ThermalSensor> sensors;
    for (const auto& [number, name] : hwmons) {
        appendHwmonSensors(sensors, m_hwmonDir.path() + name + "/");
    }
    for (const auto& [number, name] : zones) {
        const std::string dir = m_thermalDir.path() + name + "/";
        ThermalSensor sensor;
        sensor.productName = readTrimmed(dir + "type", m_buffer).value_or(name);
        sensor.handle = dir + "temp";
        sensors.push_back(std::move(sensor));
    }
    return sensors;
}

std::optional<std::vector<ThermalSensor>> LinuxThermalSource::sensors() {
    return m_sensors.get(m_clock->monotonicSeconds(), [&] { return scanSensors(); });
}

std::optional<double> LinuxThermalSource::readCelsius(const ThermalSensor& sensor) {
    const auto input = m_inputs.try_emplace(sensor.handle, sensor.handle).first;
    const auto text = input->second.read(m_buffer);
    if (!text) {
        m_inputs.erase(input);
        // An input that is there but errs (a chip asleep) just has no value.
        if (!pathExists(sensor.handle)) {
            m_sensors.invalidate();
        }
        return std::nullopt;
    }
    return parseMilliCelsius(*text);
}

} // namespace pw::platform
