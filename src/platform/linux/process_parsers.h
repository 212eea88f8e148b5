#pragma once

// Pure parsers for the per-process files under /proc/<pid>.

#include "platform/process_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// /proc/<pid>/stat: pid, the command between the first '(' and the last ')', and
// utime + stime (fields 14 and 15). Absent if any of these is malformed.
std::optional<ProcessStat> parseProcessStat(std::string_view text);

// /proc/<pid>/cmdline: the arguments split at NUL bytes, without the empty piece
// after the final NUL.
std::vector<std::string> parseCmdline(std::string_view text);

// A /proc/<pid>/exe link target without the " (deleted)" mark of a replaced or
// removed executable.
std::string_view withoutDeletedMark(std::string_view linkTarget);

// /proc/<pid>/statm: the second field, resident pages.
std::optional<std::uint64_t> parseStatmResidentPages(std::string_view text);

// /proc/<pid>/io: the storage-layer "read_bytes:" and "write_bytes:" counters.
struct ProcessIoBytes {
    std::optional<std::uint64_t> readBytes;
    std::optional<std::uint64_t> writeBytes;
};
ProcessIoBytes parseProcessIo(std::string_view text);

} // namespace pw::platform
