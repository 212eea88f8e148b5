#pragma once

// Pure parsers for the storage files: /proc/<pid>/mountinfo, /proc/diskstats and
// the escaped names in mountinfo and /dev/disk/by-label.

#include "platform/storage_source.h"

#include <optional>
#include <string>
#include <string_view>

namespace pw::platform {

// The row of one device in /proc/diskstats.
std::optional<BlockDeviceCounters> parseDiskstats(std::string_view text,
                                                  std::string_view deviceName);

// The mount at "/" in a /proc/<pid>/mountinfo text; the last one wins, since
// later mounts stack over earlier ones.
struct MountEntry {
    int major = 0;
    int minor = 0;
    std::string source; // e.g. "/dev/nvme0n1p2", escapes decoded
    std::string fsType;
};
std::optional<MountEntry> parseRootMount(std::string_view mountinfo);

// Undoes the octal escapes of mountinfo ("\040" for a space) and the hex escapes
// of udev's /dev/disk/by-label names ("\x20").
std::string decodeEscapes(std::string_view text);

} // namespace pw::platform
