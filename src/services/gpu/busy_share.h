#pragma once

#include <cstdint>
#include <optional>

namespace pw {

// The share of wall time a unit was busy, from its cumulative busy time in
// microseconds read at successive moments.
class BusyShare {
public:
    // Percent 0–100 since the reference reading, which this one then replaces.
    // Absent for the first reading and when no time has passed (the reference
    // is kept). A busy counter that went backwards (the unit was reset) reads 0.
    std::optional<double> update(std::uint64_t busyMicroseconds, double seconds);
    // Forget the reference, e.g. when the unit stopped answering.
    void reset() { m_reference.reset(); }

private:
    struct Reading {
        std::uint64_t busy = 0;
        double seconds = 0.0;
    };
    std::optional<Reading> m_reference;
};

} // namespace pw
