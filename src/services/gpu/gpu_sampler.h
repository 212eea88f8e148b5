#pragma once

#include "platform/clock.h"
#include "platform/gpu_source.h"
#include "services/engine/snapshot.h"
#include "services/gpu/busy_share.h"

#include <memory>
#include <optional>

namespace pw {

// Every GPU's figures, which one the views show, and the neural engine's
// busy share.
class GpuSampler {
public:
    GpuSampler(std::shared_ptr<platform::GpuSource> source, std::shared_ptr<platform::Clock> clock)
        : m_source(std::move(source)), m_clock(std::move(clock)) {}

    void sampleGpus(GpuFigures& figures);
    // Percent busy over the last cycle; empty without an NPU that reports it.
    std::optional<double> sampleNpu(std::optional<double> previous);

private:
    std::shared_ptr<platform::GpuSource> m_source;
    std::shared_ptr<platform::Clock> m_clock;
    BusyShare m_npuShare;
};

// The card a single strip shows: the busiest awake discrete card, else the
// first awake integrated one, else the first card.
std::optional<std::size_t> shownGpu(const std::vector<platform::GpuDevice>& devices);

} // namespace pw
