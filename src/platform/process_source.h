#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// One row of the process table. `cpuTicks` is utime + stime.
struct ProcessStat {
    int pid = 0;
    std::string command;
    std::uint64_t cpuTicks = 0;
};

// What one process holds and has moved; a figure the kernel does not let us
// read (another user's process) is absent.
struct ProcessResources {
    std::optional<std::uint64_t> residentBytes;
    std::optional<std::uint64_t> storageReadBytes;    // cumulative, since the process started
    std::optional<std::uint64_t> storageWrittenBytes; // the same
};

// Safe to call from a thread of its own: it shares nothing with other sources.
class ProcessSource {
public:
    virtual ~ProcessSource() = default;
    virtual std::optional<std::vector<ProcessStat>> processTable() = 0;
    virtual std::optional<std::string> executable(int pid) = 0;
    virtual std::optional<std::vector<std::string>> arguments(int pid) = 0;
    virtual long ticksPerSecond() = 0;
    virtual ProcessResources resources(int pid) = 0;
};

} // namespace pw::platform
