#include "platform/linux/gpu/intel.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"

#include <vector>

namespace pw::platform::gpu {

bool isIntelDriver(const std::string& driver) {
    return driver == "i915" || driver == "xe";
}

std::string findIntelClockFile(const std::string& driver, const std::string& cardDir,
                               const std::string& deviceDir) {
    const std::vector<std::string> candidates =
        driver == "xe" ? std::vector<std::string>{deviceDir + "tile0/gt0/freq0/act_freq"}
                       : std::vector<std::string>{cardDir + "gt_act_freq_mhz",
                                                  cardDir + "gt/gt0/rps_act_freq_mhz"};
    for (const std::string& path : candidates) {
        if (pathExists(path)) {
            return path;
        }
    }
    return {};
}

std::optional<double> readIntelClock(const std::string& path, std::string& buffer) {
    if (path.empty()) {
        return std::nullopt;
    }
    const auto mhz = readCount(path, buffer);
    return mhz ? std::optional<double>(static_cast<double>(*mhz)) : std::nullopt;
}

} // namespace pw::platform::gpu
