#include "services/metrics/cpu_metrics.h"

namespace pw::metrics {
namespace {

const QString kPerformance = QStringLiteral("performance");
const QString kEfficiency = QStringLiteral("efficiency");

void writeClusters(ExpositionWriter& writer, const CpuFigures& cpu) {
    writer.family("pulsewick_cpu_cluster_usage_ratio", MetricType::Gauge,
                  "Mean load of the cores of one cluster over the last cycle.");
    writer.sample(cpu.pClusterUsagePercent / 100.0, {{"cluster", kPerformance}});
    if (cpu.eClusterUsagePercent)
        writer.sample(*cpu.eClusterUsagePercent / 100.0, {{"cluster", kEfficiency}});
}

void writeCores(ExpositionWriter& writer, const CpuFigures& cpu) {
    // Efficiency cores are named only where the machine told which they are.
    const bool clustersKnown = cpu.eClusterUsagePercent.has_value();
    const bool numbered = cpu.coreNumbers.size() == cpu.coreUsagePercent.size();
    writer.family("pulsewick_cpu_core_usage_ratio", MetricType::Gauge,
                  "Load of one logical CPU over the last cycle.");
    for (qsizetype i = 0; i < cpu.coreUsagePercent.size(); ++i) {
        const bool efficiency =
            clustersKnown && i < cpu.coreIsEfficiency.size() && cpu.coreIsEfficiency[i];
        writer.sample(cpu.coreUsagePercent[i] / 100.0,
                      {{"cpu", QString::number(numbered ? cpu.coreNumbers[i] : int(i))},
                       {"cluster", efficiency ? kEfficiency : kPerformance}});
    }
}

void writeModeSeconds(ExpositionWriter& writer, const CpuFigures& cpu) {
    writer.family("pulsewick_cpu_seconds", MetricType::Counter,
                  "Time one logical CPU spent in each mode since boot.");
    for (const CpuFigures::CoreSeconds& core : cpu.coreSeconds) {
        const QString number = QString::number(core.cpu);
        const CpuFigures::ModeSeconds& s = core.seconds;
        writer.sample(s.user, {{"cpu", number}, {"mode", QStringLiteral("user")}});
        writer.sample(s.nice, {{"cpu", number}, {"mode", QStringLiteral("nice")}});
        writer.sample(s.system, {{"cpu", number}, {"mode", QStringLiteral("system")}});
        writer.sample(s.idle, {{"cpu", number}, {"mode", QStringLiteral("idle")}});
    }
}

} // namespace

void writeCpuMetrics(ExpositionWriter& writer, const CpuFigures& cpu) {
    writeClusters(writer, cpu);
    writeCores(writer, cpu);
    writeModeSeconds(writer, cpu);
}

} // namespace pw::metrics
