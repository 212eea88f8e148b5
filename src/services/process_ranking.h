#pragma once

// Pure steps of the busiest-process list, kept apart from the timer and the
// counter reads so each can be tested directly.

#include "platform/process_source.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pw {

// CPU ticks per process id at one moment.
struct ProcessSample {
    double seconds = 0.0;
    std::unordered_map<int, std::uint64_t> ticks;
};

ProcessSample makeProcessSample(const std::vector<platform::ProcessStat>& table, double seconds);

struct RankedProcess {
    int pid = 0;
    double cpuUsage = 0.0;
    std::size_t row = 0; // position in the table it was ranked from
};

// Every process of `table`, busiest first (ties by ascending id). Usage is the
// ticks since `previous` over the elapsed time, in percent of one core. A
// process new since `previous`, or whose counter went backwards (a reused id),
// counts all its ticks. No elapsed time gives 0 for everyone.
std::vector<RankedProcess> rankProcesses(const ProcessSample& previous,
                                         const std::vector<platform::ProcessStat>& table,
                                         double seconds, long ticksPerSecond);

struct ProcessIdentity {
    QString name;
    QString fullPath;
    bool isPath = false; // `fullPath` names a file
};

// The path and short name shown for a process: its executable when readable,
// else its first argument when absolute, else its command name as it stands.
ProcessIdentity identifyProcess(const std::string& command,
                                const std::optional<std::string>& executable,
                                const std::optional<std::vector<std::string>>& arguments);

} // namespace pw
