#pragma once

// Pure parsers for the device, disk and network files the backend reads beside
// the CPU and memory counters: each takes a file's text and returns values.

#include "platform/system_counters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// /proc/<pid>/statm: the second field, resident pages.
std::optional<std::uint64_t> parseStatmResidentPages(std::string_view text);

// /proc/<pid>/io: the storage-layer "read_bytes:" and "write_bytes:" counters.
struct ProcessIoBytes {
    std::optional<std::uint64_t> readBytes;
    std::optional<std::uint64_t> writeBytes;
};
ProcessIoBytes parseProcessIo(std::string_view text);

// Mean of the "cpu MHz" lines of /proc/cpuinfo; absent when there are none.
std::optional<double> parseCpuinfoMHz(std::string_view text);

// A cpufreq scaling_cur_freq value (kHz) in MHz; absent unless a positive number.
std::optional<double> parseKHzAsMHz(std::string_view text);

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

// One row of /proc/net/route. Addresses are numeric IPv4 values (a.b.c.d as
// a<<24 | b<<16 | c<<8 | d), decoded from the file's little-endian hex words.
struct RouteRow {
    std::string interfaceName;
    std::uint32_t destination = 0;
    std::uint32_t gateway = 0;
    unsigned flags = 0;
    unsigned metric = 0;
    std::uint32_t mask = 0;
};
std::vector<RouteRow> parseRouteTable(std::string_view text);

// The interface of the up default route with the lowest metric.
std::optional<std::string> defaultRouteInterface(const std::vector<RouteRow>& rows);

// The local host addresses ("/32 host LOCAL") of /proc/net/fib_trie, in order and
// without repeats.
std::vector<std::uint32_t> parseFibTrieLocalAddresses(std::string_view text);

// The first non-loopback local address inside one of `interfaceName`'s own subnet
// routes.
std::optional<std::uint32_t> interfaceAddress(const std::vector<RouteRow>& routes,
                                              const std::vector<std::uint32_t>& localAddresses,
                                              std::string_view interfaceName);

std::string formatIPv4(std::uint32_t address);

// The ESTABLISHED rows of /proc/net/tcp (ipv6 false) or /proc/net/tcp6, in table
// order. An IPv4-mapped IPv6 address is written as IPv4. A row cut off at the end
// (a bounded read) is skipped.
std::vector<TcpConnection> parseTcpTable(std::string_view text, bool ipv6);

bool isLoopbackAddress(std::string_view address);

} // namespace pw::platform
