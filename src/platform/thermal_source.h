#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// A temperature source. `handle` is opaque to callers: it is what the source
// needs to read the value again.
struct ThermalSensor {
    std::string productName;
    std::string handle;
};

class ThermalSource {
public:
    virtual ~ThermalSource() = default;
    // Absent when the machine has no temperature source at all.
    virtual std::optional<std::vector<ThermalSensor>> sensors() = 0;
    virtual std::optional<double> readCelsius(const ThermalSensor& sensor) = 0;
};

} // namespace pw::platform
