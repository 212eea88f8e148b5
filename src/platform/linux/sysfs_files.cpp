#include "platform/linux/sysfs_files.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_parsers.h"
#include "platform/linux/text_scan.h"

#include <algorithm>

namespace pw::platform {

std::vector<std::pair<int, std::string>>
numberedEntries(const std::string& dir, std::string_view prefix, std::string_view suffix) {
    KeptDirectory once(dir);
    return numberedEntries(once, prefix, suffix);
}

std::vector<std::pair<int, std::string>>
numberedEntries(KeptDirectory& dir, std::string_view prefix, std::string_view suffix) {
    std::vector<std::pair<int, std::string>> entries;
    dir.forEach([&](std::string_view name) {
        if (const auto number = numberedName(name, prefix, suffix)) {
            entries.emplace_back(*number, std::string(name));
        }
    });
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::optional<std::string> readTrimmed(const std::string& path, std::string& buffer) {
    const auto text = readFile(path, buffer);
    if (!text) {
        return std::nullopt;
    }
    return std::string(trimmed(*text));
}

std::optional<std::int64_t> readInteger(const std::string& path, std::string& buffer) {
    const auto text = readFile(path, buffer);
    return text ? parseInteger(*text) : std::nullopt;
}

std::optional<std::uint64_t> readCount(const std::string& path, std::string& buffer) {
    const auto value = readInteger(path, buffer);
    if (!value || *value < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*value);
}

std::string baseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

} // namespace pw::platform
