#pragma once

#include <cstdint>
#include <optional>

namespace pw::platform {

struct MemoryCounters {
    std::uint64_t wiredBytes = 0;
    std::uint64_t appBytes = 0;
    std::uint64_t compressedBytes = 0;
    std::uint64_t totalBytes = 0;
};

struct SwapCounters {
    std::uint64_t usedBytes = 0;
    std::uint64_t totalBytes = 0;
};

class MemorySource {
public:
    virtual ~MemorySource() = default;
    virtual std::optional<MemoryCounters> memory() = 0;
    // From the same read as the last memory() when asked right after it.
    virtual std::optional<SwapCounters> swap() = 0;
};

} // namespace pw::platform
