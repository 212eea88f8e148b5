#pragma once

// Pure parsers for the text of /proc and /sys files. No I/O here: each takes the
// file's content and returns values, so every format quirk is tested directly.

#include "platform/system_counters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// Leading and trailing blanks and line breaks removed.
std::string_view trimmed(std::string_view text);

// A whole (trimmed) decimal integer with optional sign; anything else is absent.
std::optional<std::int64_t> parseInteger(std::string_view text);

// The `cpuN` rows of /proc/stat folded onto user/system/idle/nice. The aggregate
// "cpu" row and malformed rows are skipped; no cpuN row at all gives absent.
std::optional<std::vector<CpuTicks>> parseCpuTicks(std::string_view procStat);

// A kernel CPU list such as "0-15,20" (sysfs cpus, online). An empty list gives an
// empty vector; anything unparsable gives absent.
std::optional<std::vector<int>> parseCpuList(std::string_view text);

// The /proc/meminfo fields the backend uses, in bytes; a field not in the file
// stays absent.
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

// The rows of /proc/net/dev after its two header lines. `backedByDevice` is left
// false: it is not in this file. Malformed rows are skipped; a text without the
// header gives absent.
std::optional<std::vector<InterfaceCounters>> parseNetDev(std::string_view text);

// The POWER_SUPPLY_* lines of a power_supply uevent file. `name` is left empty.
PowerSupply parsePowerSupplyUevent(std::string_view text);

// A hwmon tempN_input or thermal_zone temp value: millidegrees Celsius to °C.
std::optional<double> parseMilliCelsius(std::string_view text);

// /proc/<pid>/stat: pid, the command between the first '(' and the last ')', and
// utime + stime (fields 14 and 15). Absent if any of these is malformed.
std::optional<ProcessStat> parseProcessStat(std::string_view text);

// /proc/<pid>/cmdline: the arguments split at NUL bytes, without the empty piece
// after the final NUL.
std::vector<std::string> parseCmdline(std::string_view text);

// A /proc/<pid>/exe link target without the " (deleted)" mark of a replaced or
// removed executable.
std::string_view withoutDeletedMark(std::string_view linkTarget);

// The number after `prefix` in a name such as "hwmon10" or "temp2_input" (the rest
// must start right after the digits with `suffix`); absent if it does not match.
std::optional<int> numberedName(std::string_view name, std::string_view prefix,
                                std::string_view suffix = {});

} // namespace pw::platform
