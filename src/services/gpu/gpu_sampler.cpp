#include "services/gpu/gpu_sampler.h"

namespace pw {

std::optional<std::size_t> shownGpu(const std::vector<platform::GpuDevice>& devices) {
    std::optional<std::size_t> discrete;
    std::optional<std::size_t> integrated;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const platform::GpuDevice& d = devices[i];
        if (d.suspended)
            continue;
        if (d.integrated) {
            if (!integrated)
                integrated = i;
        } else if (!discrete ||
                   d.busyPercent.value_or(-1.0) > devices[*discrete].busyPercent.value_or(-1.0)) {
            discrete = i;
        }
    }
    if (discrete)
        return discrete;
    if (integrated)
        return integrated;
    if (!devices.empty())
        return 0;
    return std::nullopt;
}

void GpuSampler::sampleGpus(GpuFigures& figures) {
    figures.devices = m_source->gpus();
    figures.shown = shownGpu(figures.devices);
    figures.processes = m_source->gpuProcesses();
}

std::optional<double> GpuSampler::sampleNpu(std::optional<double> previous) {
    const std::optional<std::uint64_t> busy = m_source->npuBusyMicroseconds();
    if (!busy) {
        m_npuShare.reset();
        return std::nullopt;
    }
    if (const std::optional<double> share = m_npuShare.update(*busy, m_clock->monotonicSeconds()))
        return share;
    return previous;
}

} // namespace pw
