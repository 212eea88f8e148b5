// Every /proc and /sys parser of the counter backend over one input: each must
// take any bytes without crashing, reading out of bounds or overflowing.
#include "platform/linux/proc_parsers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pw::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)trimmed(text);
    (void)parseInteger(text);
    (void)parseCpuTicks(text);
    (void)parseCpuList(text);
    (void)parseMeminfo(text);
    (void)parseZramMemUsed(text);
    (void)parseNetDev(text);
    (void)parsePowerSupplyUevent(text);
    (void)parseMilliCelsius(text);
    if (const auto stat = parseProcessStat(text)) {
        // The command sits between the first '(' and the last ')'.
        if (stat->command.size() > size)
            __builtin_trap();
    }
    (void)parseCmdline(text);
    if (withoutDeletedMark(text).size() > size)
        __builtin_trap();
    (void)numberedName(text, "hwmon");
    (void)numberedName(text, "temp", "_input");
    return 0;
}
