#include "services/metrics/fan_metrics.h"

#include <QHash>

namespace pw::metrics {

void writeFanMetrics(ExpositionWriter& writer, const QList<FanSpeed>& fans) {
    writer.family("pulsewick_fan_speed_rpm", MetricType::Gauge,
                  "Speed of a fan in revolutions per minute.");
    QHash<QString, int> seen;
    for (const FanSpeed& fan : fans) {
        // A speed that makes no sense this cycle is left out, not exported as 0.
        if (!fan.rpm)
            continue;
        const int n = ++seen[fan.label];
        const QString label = n == 1 ? fan.label : fan.label + QStringLiteral(" #%1").arg(n);
        writer.sample(static_cast<double>(*fan.rpm), {{"fan", label}});
    }
}

} // namespace pw::metrics
