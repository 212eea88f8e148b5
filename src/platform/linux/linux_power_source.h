#pragma once

#include "platform/clock.h"
#include "platform/linux/file_reader.h"
#include "platform/power_source.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"

#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// Every entry of /sys/class/power_supply, from its uevent file (or the single
// attribute files where uevent is missing). The list of supplies is rescanned
// every 10 s, and at once when one of them has gone.
class LinuxPowerSource : public PowerSource {
public:
    LinuxPowerSource(RootPath root, std::shared_ptr<Clock> clock);

    std::vector<PowerSupply> powerSupplies() override;

private:
    std::vector<std::string> scanSupplies();
    std::optional<PowerSupply> readSupply(const std::string& name);

    std::shared_ptr<Clock> m_clock;
    KeptDirectory m_supplies; // sys/class/power_supply/
    std::string m_buffer;
    RescanCache<std::vector<std::string>> m_names;
};

} // namespace pw::platform
