#include "services/memory/memory_sampler.h"

#include "services/engine/units.h"

namespace pw {

void MemorySampler::sample(MemoryFigures& figures) {
    if (const std::optional<platform::MemoryCounters> memory = m_source->memory()) {
        figures.wiredGB = gigabytes(memory->wiredBytes);
        figures.appGB = gigabytes(memory->appBytes);
        figures.compressedGB = gigabytes(memory->compressedBytes);
        figures.totalGB = gigabytes(memory->totalBytes);
        figures.usedGB = (figures.wiredGB + figures.appGB) + figures.compressedGB;
        // A zero total cannot be divided by; no pressure can be known then.
        figures.pressurePercent =
            figures.totalGB > 0.0 ? figures.usedGB / figures.totalGB * 100.0 : 0.0;
    }
    if (const std::optional<platform::SwapCounters> swap = m_source->swap()) {
        figures.swapUsedGB = gigabytes(swap->usedBytes);
        figures.swapTotalGB = gigabytes(swap->totalBytes);
    }
}

} // namespace pw
