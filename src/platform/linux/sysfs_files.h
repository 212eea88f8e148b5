#pragma once

// Small reads the sources share: one-value files, numbered entries, link names.
// All go through file_reader, into the caller's buffer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw::platform {

// Entries of `dir` named prefix + number + suffix, in numeric order (hwmon2
// before hwmon10).
std::vector<std::pair<int, std::string>>
numberedEntries(const std::string& dir, std::string_view prefix, std::string_view suffix = {});
class KeptDirectory;
std::vector<std::pair<int, std::string>>
numberedEntries(KeptDirectory& dir, std::string_view prefix, std::string_view suffix = {});

// A file's text without blanks around it; absent if it cannot be read.
std::optional<std::string> readTrimmed(const std::string& path, std::string& buffer);

// A file holding one integer; absent if unreadable or not a number.
std::optional<std::int64_t> readInteger(const std::string& path, std::string& buffer);

// The same, absent also when negative (counters, percentages, speeds).
std::optional<std::uint64_t> readCount(const std::string& path, std::string& buffer);

// The last component of a path or link target.
std::string baseName(std::string_view path);

} // namespace pw::platform
