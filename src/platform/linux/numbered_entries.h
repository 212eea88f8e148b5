#pragma once

#include "platform/linux/file_reader.h"
#include "platform/linux/proc_parsers.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw::platform {

// Entries of `dir` named prefix + number + suffix, in numeric order (hwmon2
// before hwmon10).
inline std::vector<std::pair<int, std::string>>
numberedEntries(const std::string& dir, std::string_view prefix, std::string_view suffix = {}) {
    std::vector<std::pair<int, std::string>> entries;
    forEachDirectoryEntry(dir, [&](std::string_view name) {
        if (const auto number = numberedName(name, prefix, suffix)) {
            entries.emplace_back(*number, std::string(name));
        }
    });
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace pw::platform
