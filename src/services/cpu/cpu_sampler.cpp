#include "services/cpu/cpu_sampler.h"

#include "services/engine/plausible.h"

namespace pw {

CpuSampler::CpuSampler(std::shared_ptr<platform::CpuSource> source) : m_source(std::move(source)) {
    const platform::CoreTopology topology = m_source->coreTopology();
    m_clusters = clustersFromTopology(topology);
    m_hasEfficiencyCores = topology.performanceLevel1 && *topology.performanceLevel1 > 0;
}

CpuSampler::Reading CpuSampler::sample(bool withClock) {
    Reading reading;
    std::optional<std::vector<platform::CpuTicks>> ticks = m_source->cpuTicks();
    if (ticks) {
        platform::CpuTicks totals;
        for (const platform::CpuTicks& t : *ticks) {
            totals.user += t.user;
            totals.system += t.system;
            totals.idle += t.idle;
            totals.nice += t.nice;
        }
        reading.totals = totals;
        reading.perCpu = *ticks;
        if (m_previous)
            reading.load = computeCpuLoad(*m_previous, *ticks, m_clusters);
        m_previous = std::move(ticks);
    }
    if (withClock)
        reading.clockGHz = clockGHz();
    return reading;
}

std::optional<double> CpuSampler::clockGHz() const {
    // A clock at 0 or beyond any real processor is a broken reading.
    const std::optional<double> mhz = m_source->clockMHz();
    if (!mhz || !(*mhz > 0.0))
        return std::nullopt;
    return plausible::within(*mhz / 1000.0, 0.0, plausible::kMaxClockGHz);
}

} // namespace pw
