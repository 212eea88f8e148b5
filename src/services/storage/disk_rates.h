#pragma once

#include "platform/storage_source.h"

#include <optional>

namespace pw {

// Bytes per second read and written by a block device, from the cumulative
// sector counts of successive readings.
class DiskRates {
public:
    struct Rates {
        double read = 0.0;
        double write = 0.0;
    };

    // The rates since the reference reading, which `counters` then replaces.
    // Absent for the first reading and when no time has passed (the reference
    // is kept then, so the next reading covers the whole interval). A counter
    // that went backwards reads 0; another device than before reads 0 for both.
    std::optional<Rates> update(const platform::BlockDeviceCounters& counters, double seconds);

private:
    std::optional<platform::BlockDeviceCounters> m_reference;
    double m_referenceSeconds = 0.0;
};

} // namespace pw
