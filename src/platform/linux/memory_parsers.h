#pragma once

// Pure parsers for the memory files: /proc/meminfo and a zram device's mm_stat.

#include <cstdint>
#include <optional>
#include <string_view>

namespace pw::platform {

// The /proc/meminfo fields the memory figures use, in bytes; a field not in the
// file stays absent.
struct MeminfoFields {
    std::optional<std::uint64_t> memTotal;
    std::optional<std::uint64_t> swapTotal;
    std::optional<std::uint64_t> swapFree;
    std::optional<std::uint64_t> sUnreclaim;
    std::optional<std::uint64_t> kernelStack;
    std::optional<std::uint64_t> pageTables;
    std::optional<std::uint64_t> unevictable;
    std::optional<std::uint64_t> anonPages;
    std::optional<std::uint64_t> zswap;
};
MeminfoFields parseMeminfo(std::string_view text);

// The mem_used_total column (third number) of a zram device's mm_stat, in bytes.
std::optional<std::uint64_t> parseZramMemUsed(std::string_view mmStat);

} // namespace pw::platform
