#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// One power supply as the kernel describes it; units as in sysfs
// (µWh, µAh, µW, µV, µA). Values the kernel does not offer are absent.
struct PowerSupply {
    std::string name;
    std::string type;
    std::string scope;
    std::string status;
    std::optional<std::int64_t> capacity;
    std::optional<std::int64_t> energyNow;
    std::optional<std::int64_t> energyFull;
    std::optional<std::int64_t> chargeNow;
    std::optional<std::int64_t> chargeFull;
    std::optional<std::int64_t> powerNow;
    std::optional<std::int64_t> voltageNow;
    std::optional<std::int64_t> currentNow;
};

class PowerSource {
public:
    virtual ~PowerSource() = default;
    // Every supply, batteries and mains alike, by name.
    virtual std::vector<PowerSupply> powerSupplies() = 0;
};

} // namespace pw::platform
