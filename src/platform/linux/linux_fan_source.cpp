#include "platform/linux/linux_fan_source.h"

#include "platform/linux/sysfs_files.h"

#include <utility>

namespace pw::platform {

LinuxFanSource::LinuxFanSource(RootPath root, std::shared_ptr<Clock> clock)
    : m_clock(std::move(clock)), m_hwmonDir(root.sys("class/hwmon/")) {}

std::vector<LinuxFanSource::FanFiles> LinuxFanSource::scanFans() {
    std::vector<FanFiles> fans;
    for (const auto& [number, hwmon] : numberedEntries(m_hwmonDir, "hwmon")) {
        const std::string dir = m_hwmonDir + hwmon + "/";
        const auto inputs = numberedEntries(dir, "fan", "_input");
        if (inputs.empty()) {
            continue;
        }
        const std::string chip = readTrimmed(dir + "name", m_buffer).value_or(hwmon);
        for (const auto& [fan, input] : inputs) {
            const std::string fanName = "fan" + std::to_string(fan);
            const auto label = readTrimmed(dir + fanName + "_label", m_buffer);
            fans.push_back(
                FanFiles{dir + input, label && !label->empty() ? *label : chip + " " + fanName});
        }
    }
    return fans;
}

std::vector<FanReading> LinuxFanSource::fans() {
    const auto& fans = m_fans.get(m_clock->monotonicSeconds(), [&] { return scanFans(); });
    std::vector<FanReading> readings;
    readings.reserve(fans.size());
    for (const FanFiles& fan : fans) {
        if (const auto rpm = readCount(fan.inputPath, m_buffer)) {
            readings.push_back(FanReading{fan.label, static_cast<std::int64_t>(*rpm)});
        }
    }
    return readings;
}

} // namespace pw::platform
