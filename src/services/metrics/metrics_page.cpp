#include "services/metrics/metrics_page.h"

#include "services/metrics/catalogue_metrics.h"
#include "services/metrics/cpu_metrics.h"
#include "services/metrics/fan_metrics.h"
#include "services/metrics/gpu_metrics.h"

namespace pw::metrics {

QByteArray renderMetrics(const FigureInputs& inputs, MetricsFormat format) {
    ExpositionWriter writer(format);
    writer.family("pulsewick_build", MetricType::Info, "The running Pulsewick's version.");
    writer.sample(1.0, {{"version", QStringLiteral(PULSEWICK_VERSION)}});
    const Snapshot& snapshot = inputs.snapshot;
    if (snapshot.cpu.coreUsagePercent.isEmpty())
        return writer.finish();
    writer.family("pulsewick_cycle_timestamp_seconds", MetricType::Gauge,
                  "When the last cycle ran, in seconds since the epoch.");
    writer.sample(snapshot.wallSeconds);
    writeCatalogueMetrics(writer, inputs);
    writeCpuMetrics(writer, snapshot.cpu);
    writeGpuMetrics(writer, snapshot.gpu);
    writeFanMetrics(writer, snapshot.fans);
    return writer.finish();
}

} // namespace pw::metrics
