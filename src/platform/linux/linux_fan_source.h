#pragma once

#include "platform/clock.h"
#include "platform/fan_source.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"

#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// Every hwmon fanN_input, labelled by its fanN_label or "<chip> fanN". Which fans
// exist is rescanned every 10 s; a fan whose input does not read as a speed is
// left out of that reading.
class LinuxFanSource : public FanSource {
public:
    LinuxFanSource(RootPath root, std::shared_ptr<Clock> clock);

    std::vector<FanReading> fans() override;

private:
    struct FanFiles {
        std::string inputPath;
        std::string label;
    };
    std::vector<FanFiles> scanFans();

    std::shared_ptr<Clock> m_clock;
    std::string m_hwmonDir; // sys/class/hwmon/
    std::string m_buffer;
    RescanCache<std::vector<FanFiles>> m_fans;
};

} // namespace pw::platform
