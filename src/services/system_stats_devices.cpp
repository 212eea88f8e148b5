// The store's steps for per-core load, clock, disk, network details, GPU, fans
// and the neural engine, and the disk-space alert.
#include "services/device_text.h"
#include "services/store_assign.h"
#include "services/system_stats_provider.h"

#include <algorithm>
#include <cmath>

namespace pw {
namespace {

using detail::assign;

constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;

double knownOr(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? *value : SystemStatsProvider::kUnknown;
}

} // namespace

void SystemStatsProvider::updateCpuDetails(const CpuLoad& load) {
    assign(this, m_cpuUserUsage, load.userUsage, &SystemStatsProvider::cpuUserUsageChanged);
    assign(this, m_cpuSystemUsage, load.systemUsage, &SystemStatsProvider::cpuSystemUsageChanged);
    QList<double> cores;
    QList<bool> efficiency;
    cores.reserve(static_cast<qsizetype>(load.perCpu.size()));
    efficiency.reserve(static_cast<qsizetype>(load.cpus.size()));
    for (double fraction : load.perCpu)
        cores.append(fraction * 100.0);
    for (int cpu : load.cpus)
        efficiency.append(m_clusters.isEfficiency(cpu));
    assign(this, m_coreUsages, std::move(cores), &SystemStatsProvider::coreUsagesChanged);
    assign(this, m_coreIsEfficiency, std::move(efficiency),
           &SystemStatsProvider::coreIsEfficiencyChanged);
}

void SystemStatsProvider::updateCpuClock() {
    const std::optional<double> mhz = m_counters->cpuClockMHz();
    const double ghz = mhz && *mhz > 0.0 && std::isfinite(*mhz) ? *mhz / 1000.0 : kUnknown;
    assign(this, m_cpuClockGHz, ghz, &SystemStatsProvider::cpuClockGHzChanged);
}

void SystemStatsProvider::updateNetworkHistory() {
    // Shift in one step, as cpuHistory does.
    m_networkHistory.removeFirst();
    m_networkHistory.append(m_networkDownload);
    Q_EMIT networkHistoryChanged();
}

void SystemStatsProvider::updateNetworkDetails() {
    const std::optional<platform::DefaultRoute> route = m_counters->defaultRoute();
    // Without a default route the machine is not connected: nothing to keep.
    assign(this, m_networkInterfaceName,
           route ? QString::fromStdString(route->interfaceName) : QString(),
           &SystemStatsProvider::networkInterfaceNameChanged);
    assign(this, m_networkIsWireless, route && route->wireless,
           &SystemStatsProvider::networkIsWirelessChanged);
    assign(this, m_localIPv4Address,
           route && route->ipv4Address ? QString::fromStdString(*route->ipv4Address) : QString(),
           &SystemStatsProvider::localIPv4AddressChanged);

    m_connectionReader->request(kConnectionCount);
}

void SystemStatsProvider::applyConnections(
    const std::optional<std::vector<platform::TcpConnection>>& connections) {
    // An unreadable table keeps the last list, as the other readings do.
    if (!connections)
        return;
    QStringList remotes;
    for (const platform::TcpConnection& c : *connections) {
        if (remotes.size() == static_cast<qsizetype>(kConnectionCount))
            break;
        remotes.append(remoteEndpointText(c));
    }
    assign(this, m_activeConnections, std::move(remotes),
           &SystemStatsProvider::activeConnectionsChanged);
}

void SystemStatsProvider::updateVolume() {
    const std::optional<platform::VolumeSpace> volume = m_counters->rootVolume();
    if (!volume)
        return;
    assign(this, m_diskVolumeName, QString::fromStdString(volume->name),
           &SystemStatsProvider::diskVolumeNameChanged);
    assign(this, m_diskKind, diskKindText(volume->rotational),
           &SystemStatsProvider::diskKindChanged);
    assign(this, m_diskTotal, static_cast<double>(volume->totalBytes) / kGiB,
           &SystemStatsProvider::diskTotalChanged);
    assign(this, m_diskAvailable, static_cast<double>(volume->availableBytes) / kGiB,
           &SystemStatsProvider::diskAvailableChanged);
    double used = kUnknown;
    if (volume->totalBytes > 0) {
        const double free =
            static_cast<double>(volume->availableBytes) / static_cast<double>(volume->totalBytes);
        used = std::clamp(1.0 - free, 0.0, 1.0);
    }
    assign(this, m_diskUsedFraction, used, &SystemStatsProvider::diskUsedFractionChanged);
}

void SystemStatsProvider::updateDiskActivity() {
    const std::optional<platform::BlockDeviceCounters> device = m_counters->rootBlockDevice();
    if (!device)
        return;
    const std::optional<DiskRates::Rates> rates =
        m_diskRates.update(*device, m_counters->monotonicSeconds());
    if (!rates)
        return;
    assign(this, m_diskReadRate, rates->read, &SystemStatsProvider::diskReadRateChanged);
    assign(this, m_diskWriteRate, rates->write, &SystemStatsProvider::diskWriteRateChanged);
    m_diskReadPeaks.push(rates->read);
    m_diskWritePeaks.push(rates->write);
    assign(this, m_diskReadPeak, m_diskReadPeaks.peak().value_or(kUnknown),
           &SystemStatsProvider::diskReadPeakChanged);
    assign(this, m_diskWritePeak, m_diskWritePeaks.peak().value_or(kUnknown),
           &SystemStatsProvider::diskWritePeakChanged);
}

void SystemStatsProvider::updateGpu() {
    const std::optional<platform::GpuCounters> gpu = m_counters->gpu();
    assign(this, m_gpuName, gpu ? QString::fromStdString(gpu->name) : QString(),
           &SystemStatsProvider::gpuNameChanged);
    assign(this, m_gpuBusy, gpu ? knownOr(gpu->busyPercent) : kUnknown,
           &SystemStatsProvider::gpuBusyChanged);
    assign(this, m_gpuMemoryBusy, gpu ? knownOr(gpu->memoryBusyPercent) : kUnknown,
           &SystemStatsProvider::gpuMemoryBusyChanged);
    assign(this, m_gpuTemperature, gpu ? knownOr(gpu->temperatureCelsius) : kUnknown,
           &SystemStatsProvider::gpuTemperatureChanged);
    double vram = kUnknown;
    if (gpu && gpu->vramUsedBytes && gpu->vramTotalBytes && *gpu->vramTotalBytes > 0)
        vram = static_cast<double>(*gpu->vramUsedBytes) / static_cast<double>(*gpu->vramTotalBytes);
    assign(this, m_gpuVramFraction, vram, &SystemStatsProvider::gpuVramFractionChanged);
}

void SystemStatsProvider::updateFans() {
    const std::vector<platform::FanReading> readings = m_counters->fans();
    QList<FanSpeed> fans;
    fans.reserve(static_cast<qsizetype>(readings.size()));
    for (const platform::FanReading& r : readings)
        fans.append(FanSpeed{QString::fromStdString(r.label), static_cast<qint64>(r.rpm)});
    assign(this, m_fans, std::move(fans), &SystemStatsProvider::fansChanged);
}

void SystemStatsProvider::updateNeuralEngine() {
    const std::optional<std::uint64_t> busy = m_counters->npuBusyMicroseconds();
    if (!busy) {
        m_npuShare.reset();
        assign(this, m_aneUsage, kUnknown, &SystemStatsProvider::aneUsageChanged);
        return;
    }
    if (const std::optional<double> share =
            m_npuShare.update(*busy, m_counters->monotonicSeconds()))
        assign(this, m_aneUsage, *share, &SystemStatsProvider::aneUsageChanged);
}

void SystemStatsProvider::checkDiskSpaceAlert() {
    const bool enabled = !m_diskSpaceLowAlertsOn || m_diskSpaceLowAlertsOn();
    const std::optional<platform::DesktopNotification> alert =
        m_diskSpaceAlert.check(enabled, m_diskTotal, m_diskAvailable);
    if (alert && m_notifier)
        m_notifier->post(*alert);
}

} // namespace pw
