#pragma once

#include "platform/process_source.h"

#include <optional>
#include <unordered_map>

namespace pw {

// Storage read and write rates of processes, from their cumulative byte counts
// in successive rounds of samples. Only the processes sampled in the last
// round are remembered, so the memory follows the published list.
class ProcessStorageRates {
public:
    struct Rates {
        double read = -1.0; // bytes per second; negative when unknown
        double write = -1.0;
    };

    // The rates of `pid` since its sample in the previous round. Unknown on its
    // first appearance or when either sample lacks the figure; a count that
    // went backwards (a reused id) or no elapsed time reads 0.
    Rates sample(int pid, const platform::ProcessResources& resources, double seconds);
    // Ends a round: its samples become the reference for the next one.
    void finishRound();

private:
    struct Reading {
        std::optional<std::uint64_t> read;
        std::optional<std::uint64_t> written;
        double seconds = 0.0;
    };
    std::unordered_map<int, Reading> m_previous;
    std::unordered_map<int, Reading> m_current;
};

} // namespace pw
