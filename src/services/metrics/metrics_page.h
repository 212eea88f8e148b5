#pragma once

#include "services/figures/figure.h"
#include "services/metrics/exposition.h"

#include <QByteArray>

namespace pw::metrics {

// One scrape: the build, then every figure of the last cycle that is known.
// Reads only `inputs`; until the engine has measured the CPU load once (two
// cycles after start) only the build is given, since nothing else is measured yet.
QByteArray renderMetrics(const FigureInputs& inputs, MetricsFormat format);

} // namespace pw::metrics
