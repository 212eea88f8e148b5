// The latency probe's reading of `ping` output.
#include "services/ping_output.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray output(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // A latency that comes back is a finite number, never NaN or infinity.
    if (const auto latency = pw::parseLatency(output); latency && !std::isfinite(*latency))
        __builtin_trap();
    return 0;
}
