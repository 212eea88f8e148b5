#pragma once

#include "services/fans/fan_speed.h"
#include "services/metrics/exposition.h"

#include <QList>

namespace pw::metrics {

// Every fan's speed, labelled with its name; a name given twice gets " #2",
// " #3"... so no two series collide.
void writeFanMetrics(ExpositionWriter& writer, const QList<FanSpeed>& fans);

} // namespace pw::metrics
