#pragma once

#include "services/engine/snapshot.h"
#include "services/metrics/exposition.h"

namespace pw::metrics {

// Every GPU's figures, labelled with its card and driver; what a driver does
// not offer, or a card asleep, is left out.
void writeGpuMetrics(ExpositionWriter& writer, const GpuFigures& gpus);

} // namespace pw::metrics
