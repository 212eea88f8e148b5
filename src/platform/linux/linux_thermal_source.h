#pragma once

#include "platform/clock.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/kernel_file.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"
#include "platform/thermal_source.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace pw::platform {

// Every hwmon tempN_input (in hwmon then input order), then every thermal zone.
// A sensor's handle is the path of its value. The list is rescanned every 10 s,
// and at once when a sensor's input has gone (a reloaded driver renumbers its
// hwmon folder).
class LinuxThermalSource : public ThermalSource {
public:
    LinuxThermalSource(RootPath root, std::shared_ptr<Clock> clock);

    std::optional<std::vector<ThermalSensor>> sensors() override;
    std::optional<double> readCelsius(const ThermalSensor& sensor) override;

private:
    std::optional<std::vector<ThermalSensor>> scanSensors();
    void appendHwmonSensors(std::vector<ThermalSensor>& sensors, const std::string& dir);

    std::shared_ptr<Clock> m_clock;
    KeptDirectory m_hwmonDir;   // sys/class/hwmon/
    KeptDirectory m_thermalDir; // sys/class/thermal/
    std::string m_buffer;
    std::unordered_map<std::string, KernelFile> m_inputs; // by sensor handle
    RescanCache<std::optional<std::vector<ThermalSensor>>> m_sensors;
};

} // namespace pw::platform
