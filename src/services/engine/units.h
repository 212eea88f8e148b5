#pragma once

#include <cstdint>

namespace pw {

// Memory and disk sizes are in GB of 1024³ bytes; network figures in KB of 1024.
inline constexpr double kBytesPerGiB = 1024.0 * 1024.0 * 1024.0;
inline constexpr double kBytesPerKiB = 1024.0;

inline double gigabytes(std::uint64_t bytes) {
    return static_cast<double>(bytes) / kBytesPerGiB;
}

} // namespace pw
