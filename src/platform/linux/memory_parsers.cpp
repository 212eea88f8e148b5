#include "platform/linux/memory_parsers.h"

#include "platform/linux/text_scan.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace pw::platform {

MeminfoFields parseMeminfo(std::string_view text) {
    MeminfoFields fields;
    const std::pair<std::string_view, std::optional<std::uint64_t> MeminfoFields::*> keys[] = {
        {"MemTotal", &MeminfoFields::memTotal},
        {"SwapTotal", &MeminfoFields::swapTotal},
        {"SwapFree", &MeminfoFields::swapFree},
        {"SUnreclaim", &MeminfoFields::sUnreclaim},
        {"KernelStack", &MeminfoFields::kernelStack},
        {"PageTables", &MeminfoFields::pageTables},
        {"Unevictable", &MeminfoFields::unevictable},
        {"AnonPages", &MeminfoFields::anonPages},
        {"Zswap", &MeminfoFields::zswap},
    };
    forEachLine(text, [&](std::string_view line) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        const auto key = line.substr(0, colon);
        const auto match = std::find_if(std::begin(keys), std::end(keys),
                                        [&](const auto& entry) { return entry.first == key; });
        if (match == std::end(keys)) {
            return;
        }
        WordCursor words(line.substr(colon + 1));
        std::string_view number;
        std::string_view unit;
        if (!words.next(number)) {
            return;
        }
        const auto value = wholeNumber<std::uint64_t>(number);
        const bool hasUnit = words.next(unit);
        if (!value || (hasUnit && unit != "kB") || *value > (UINT64_MAX >> 10)) {
            return;
        }
        fields.*(match->second) = hasUnit ? *value * 1024 : *value;
    });
    return fields;
}

std::optional<std::uint64_t> parseZramMemUsed(std::string_view mmStat) {
    WordCursor words(mmStat);
    std::string_view word;
    for (int i = 0; i < 3; ++i) {
        if (!words.next(word)) {
            return std::nullopt;
        }
    }
    return wholeNumber<std::uint64_t>(word);
}

} // namespace pw::platform
