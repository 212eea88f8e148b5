#pragma once

#include "services/engine/snapshot.h"
#include "services/metrics/exposition.h"

namespace pw::metrics {

// The CPU families with labels: load per cluster and per core, and the time
// each CPU spent in each mode since boot.
void writeCpuMetrics(ExpositionWriter& writer, const CpuFigures& cpu);

} // namespace pw::metrics
