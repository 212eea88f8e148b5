#include "services/engine/sampling_engine.h"

#include "services/engine/plausible.h"
#include "services/power/battery_info.h"

#include <algorithm>

namespace pw {

SamplingEngine::SamplingEngine(const platform::Sources& sources, const Demand* demand)
    : m_sources(sources), m_demand(demand), m_cpu(sources.cpu), m_memory(sources.memory),
      m_network(sources.network, sources.connections, sources.clock),
      m_storage(sources.storage, sources.clock), m_hidMonitor(sources.thermal),
      m_gpu(sources.gpu, sources.clock) {}

namespace {
// Made once, not every cycle.
const QString& sensorKey() {
    static const QString key = QString::fromLatin1(SamplingEngine::kSensorKey);
    return key;
}
} // namespace

void SamplingEngine::runCycle(Snapshot& s) {
    const bool slowCycle = m_cycle % kSlowCycleInterval == 0;
    s.wallSeconds = m_sources.clock->wallSeconds();
    applyCpu(s);
    m_memory.sample(s.memory);
    m_network.sampleThroughput(s.network);
    if (slowCycle) {
        if (wanted(Reading::Route))
            m_network.sampleRoute(s.network);
        if (wanted(Reading::Connections))
            m_network.requestConnections();
        m_storage.sampleVolume(s.storage);
    }
    if (wanted(Reading::Storage))
        m_storage.sampleActivity(s.storage);
    // A sensor that gives nothing this cycle leaves the last reading; one that
    // gives nonsense makes the temperature unknown.
    if (const std::optional<double> celsius = m_hidMonitor.readTemperature(sensorKey()))
        s.socTemperatureCelsius = celsius;
    else if (m_hidMonitor.lastReadingImplausible())
        s.socTemperatureCelsius.reset();
    if (wanted(Reading::Fans))
        applyFans(s);
    applyBattery(s);
    if (wanted(Reading::Gpu))
        applyGpu(s);
    ++m_cycle;
}

void SamplingEngine::sampleNow(Reading reading, Snapshot& s) {
    switch (reading) {
    case Reading::Connections:
        m_network.requestConnections();
        break;
    case Reading::Route:
        m_network.sampleRoute(s.network);
        break;
    case Reading::CpuDetails:
        s.cpu.clockGHz = m_cpu.clockGHz();
        break;
    case Reading::Gpu:
        applyGpu(s);
        break;
    case Reading::Storage:
        m_storage.sampleActivity(s.storage);
        break;
    case Reading::Fans:
        applyFans(s);
        break;
    case Reading::Processes:
        break; // the process monitor's own
    }
}

void SamplingEngine::applyFans(Snapshot& s) {
    s.fans.clear();
    for (const platform::FanReading& r : m_sources.fans->fans()) {
        // The fan stays listed; only its speed is unknown this cycle.
        const std::optional<double> rpm =
            plausible::within(static_cast<double>(r.rpm), 0.0, plausible::kMaxFanRpm);
        s.fans.append(FanSpeed{QString::fromStdString(r.label),
                               rpm ? std::optional<qint64>(r.rpm) : std::nullopt});
    }
}

void SamplingEngine::applyGpu(Snapshot& s) {
    m_gpu.sampleGpus(s.gpu);
    s.npuUsagePercent = m_gpu.sampleNpu(s.npuUsagePercent);
}

void SamplingEngine::applyCpu(Snapshot& s) {
    const CpuSampler::Reading reading = m_cpu.sample(wanted(Reading::CpuDetails));
    CpuFigures& cpu = s.cpu;
    cpu.eCoreCount = m_cpu.clusters().eCoreCount;
    cpu.pCoreCount = m_cpu.clusters().pCoreCount;
    if (wanted(Reading::CpuDetails))
        cpu.clockGHz = reading.clockGHz;
    if (reading.totals) {
        // /proc/stat counts in the same clock ticks as the process table.
        const long ticks = m_sources.processes ? m_sources.processes->ticksPerSecond() : 100;
        const double perSecond = 1.0 / static_cast<double>(std::max(1L, ticks));
        auto seconds = [perSecond](const platform::CpuTicks& t) {
            return CpuFigures::ModeSeconds{
                static_cast<double>(t.user) * perSecond, static_cast<double>(t.system) * perSecond,
                static_cast<double>(t.idle) * perSecond, static_cast<double>(t.nice) * perSecond};
        };
        cpu.totalSeconds = seconds(*reading.totals);
        cpu.coreSeconds.clear();
        for (const platform::CpuTicks& t : reading.perCpu)
            cpu.coreSeconds.append({t.cpu, seconds(t)});
    }
    if (reading.load) {
        const CpuLoad& load = *reading.load;
        if (m_cpu.hasEfficiencyCores())
            cpu.eClusterUsagePercent = load.eClusterUsage;
        cpu.pClusterUsagePercent = load.pClusterUsage;
        cpu.usagePercent = load.cpuUsage;
        m_cpuHistory.push(load.cpuUsage);
        cpu.userUsagePercent = load.userUsage;
        cpu.systemUsagePercent = load.systemUsage;
        cpu.coreUsagePercent.clear();
        cpu.coreIsEfficiency.clear();
        cpu.coreNumbers = QList<int>(load.cpus.begin(), load.cpus.end());
        for (double fraction : load.perCpu)
            cpu.coreUsagePercent.append(fraction * 100.0);
        for (int n : load.cpus)
            cpu.coreIsEfficiency.append(m_cpu.clusters().isEfficiency(n));
    }
    cpu.historyPercent = m_cpuHistory.values();
}

void SamplingEngine::applyBattery(Snapshot& s) {
    // Without a battery the figures keep what they had: unknown on a desktop.
    const std::optional<BatteryInfo> info = batteryInfoFrom(m_sources.power->powerSupplies());
    if (!info)
        return;
    s.power.batteryPercent = info->percentage;
    s.power.batteryIsCharging = info->isCharging;
    s.power.batteryState = info->state;
    s.power.batteryMinutesToEmpty = info->timeToEmpty;
    s.power.drawWatts = info->wattage;
}

} // namespace pw
