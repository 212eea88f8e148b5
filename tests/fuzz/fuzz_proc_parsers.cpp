// The CPU, memory, process and sysfs parsers of the counter backend over one
// input: each must take any bytes without crashing, reading out of bounds or
// overflowing.
#include "platform/linux/cpu_parsers.h"
#include "platform/linux/memory_parsers.h"
#include "platform/linux/process_parsers.h"
#include "platform/linux/sysfs_parsers.h"
#include "platform/linux/text_scan.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pw::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)trimmed(text);
    (void)parseInteger(text);
    (void)decimalNumber(text);
    (void)parseCpuTicks(text);
    (void)parseCpuList(text);
    (void)countAffectedCpus(text);
    (void)parseKHzAsMHz(text);
    (void)parseMeminfo(text);
    (void)parseZramMemUsed(text);
    (void)parsePowerSupplyUevent(text);
    (void)parseMilliCelsius(text);
    (void)parseMicrowattsAsWatts(text);
    (void)parseHertzAsMHz(text);
    (void)parsePciId(text);
    (void)isPciAddress(text);
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
