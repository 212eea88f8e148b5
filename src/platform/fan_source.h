#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pw::platform {

struct FanReading {
    std::string label; // the sensor's own label, else "<chip> fan<N>"
    std::int64_t rpm = 0;
};

class FanSource {
public:
    virtual ~FanSource() = default;
    virtual std::vector<FanReading> fans() = 0;
};

} // namespace pw::platform
