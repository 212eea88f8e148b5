#include "services/system_stats_provider.h"

#include "platform/linux/dbus_desktop_notifier.h"
#include "platform/linux/linux_system_counters.h"
#include "services/atomic_write.h"
#include "services/history_csv.h"
#include "services/log_line.h"
#include "services/preferences.h"
#include "services/store_assign.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <chrono>
#include <cmath>

namespace pw {
namespace {

std::shared_ptr<platform::SystemCounters>& sharedCounters() {
    static std::shared_ptr<platform::SystemCounters> counters;
    return counters;
}
std::shared_ptr<platform::DesktopNotifier>& sharedNotifier() {
    static std::shared_ptr<platform::DesktopNotifier> notifier;
    return notifier;
}

constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;

double gigabytes(std::uint64_t bytes) {
    return static_cast<double>(bytes) / kGiB;
}

double secondsSinceEpoch() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

using detail::assign;

} // namespace

void SystemStatsProvider::configureShared(std::shared_ptr<platform::SystemCounters> counters,
                                          std::shared_ptr<platform::DesktopNotifier> notifier) {
    sharedCounters() = std::move(counters);
    sharedNotifier() = std::move(notifier);
}

SystemStatsProvider& SystemStatsProvider::shared() {
    static SystemStatsProvider* instance = [] {
        if (!sharedCounters())
            sharedCounters() = std::make_shared<platform::LinuxSystemCounters>("/");
        if (!sharedNotifier())
            sharedNotifier() = std::make_shared<platform::DBusDesktopNotifier>();
        auto* store = new SystemStatsProvider(sharedCounters(), sharedNotifier(), [] {
            return Preferences::shared().cpuAlertThreshold();
        });
        store->setAlertSwitches([] { return Preferences::shared().highCpuAlertsEnabled(); },
                                [] { return Preferences::shared().diskSpaceLowAlertsEnabled(); });
        store->startPolling();
        return store;
    }();
    return *instance;
}

SystemStatsProvider::SystemStatsProvider(std::shared_ptr<platform::SystemCounters> counters,
                                         std::shared_ptr<platform::DesktopNotifier> notifier,
                                         std::function<double()> alertThreshold, QObject* parent)
    : QObject(parent), m_counters(std::move(counters)), m_notifier(std::move(notifier)),
      m_alertThreshold(std::move(alertThreshold)),
      m_hidMonitor(std::make_unique<HIDMonitor>(m_counters)) {
    m_cpuHistory = QList<double>(kHistoryLength, 0.0);
    m_networkHistory = QList<double>(kHistoryLength, 0.0);
    m_connectionReader = std::make_unique<ConnectionReader>(
        m_counters, [this](const ConnectionReader::Connections& connections) {
            applyConnections(connections);
        });
    determineCoreCounts();
}

SystemStatsProvider::~SystemStatsProvider() = default;

void SystemStatsProvider::startPolling() {
    if (m_timer)
        return;
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    // The tick only queues the cycle, so a cycle never runs inside another
    // handler and ticks are never merged.
    connect(m_timer, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(this, &SystemStatsProvider::updateStats, Qt::QueuedConnection);
    });
    m_timer->start();
}

void SystemStatsProvider::setAlertSwitches(std::function<bool()> highCpu,
                                           std::function<bool()> diskSpaceLow) {
    m_highCpuAlertsOn = std::move(highCpu);
    m_diskSpaceLowAlertsOn = std::move(diskSpaceLow);
}

double SystemStatsProvider::efficiencyRatio() const {
    return m_powerDraw > 0.0 ? m_cpuUsage / m_powerDraw : m_cpuUsage / 1.0;
}

void SystemStatsProvider::updateStats() {
    updateCPU();
    updateCpuClock();
    updateMemory();
    updateNetwork();
    if (isSlowCycle()) {
        updateNetworkDetails();
        updateVolume();
    }
    updateDiskActivity();
    updateTemperature();
    updateFans();
    updateBattery();
    updateGpu();
    updateNeuralEngine();
    checkCPUAlerts();
    checkDiskSpaceAlert();
    ++m_cycle;
    Q_EMIT cycleFinished();
}

void SystemStatsProvider::determineCoreCounts() {
    m_clusters = clustersFromTopology(m_counters->coreTopology());
    m_eCoreCount = m_clusters.eCoreCount;
    m_pCoreCount = m_clusters.pCoreCount;
}

void SystemStatsProvider::updateCPU() {
    std::optional<std::vector<platform::CpuTicks>> sample = m_counters->cpuTicks();
    if (!sample)
        return;
    if (m_previousCpuInfo) {
        if (const std::optional<CpuLoad> load =
                computeCpuLoad(*m_previousCpuInfo, *sample, m_clusters)) {
            assign(this, m_eClusterUsage, load->eClusterUsage,
                   &SystemStatsProvider::eClusterUsageChanged);
            assign(this, m_pClusterUsage, load->pClusterUsage,
                   &SystemStatsProvider::pClusterUsageChanged);
            if (m_cpuUsage != load->cpuUsage) {
                m_cpuUsage = load->cpuUsage;
                Q_EMIT cpuUsageChanged();
                Q_EMIT efficiencyRatioChanged();
            }
            // Shift in one step: an observer must never see 59 or 61 values.
            m_cpuHistory.removeFirst();
            m_cpuHistory.append(m_cpuUsage);
            Q_EMIT cpuHistoryChanged();
            updateCpuDetails(*load);
        }
    }
    m_previousCpuInfo = std::move(sample);
}

void SystemStatsProvider::updateMemory() {
    Q_ASSERT(!QCoreApplication::instance() ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
    if (const std::optional<platform::MemoryCounters> memory = m_counters->memory()) {
        assign(this, m_memoryWired, gigabytes(memory->wiredBytes),
               &SystemStatsProvider::memoryWiredChanged);
        assign(this, m_memoryApp, gigabytes(memory->appBytes),
               &SystemStatsProvider::memoryAppChanged);
        assign(this, m_memoryCompressed, gigabytes(memory->compressedBytes),
               &SystemStatsProvider::memoryCompressedChanged);
        assign(this, m_memoryTotal, gigabytes(memory->totalBytes),
               &SystemStatsProvider::memoryTotalChanged);
        const double used = (m_memoryWired + m_memoryApp) + m_memoryCompressed;
        assign(this, m_memoryUsed, used, &SystemStatsProvider::memoryUsedChanged);
        // A zero total cannot be divided by; no pressure can be known then.
        const double pressure = m_memoryTotal > 0.0 ? m_memoryUsed / m_memoryTotal * 100.0 : 0.0;
        assign(this, m_memoryPressure, pressure, &SystemStatsProvider::memoryPressureChanged);
    }
    if (const std::optional<std::uint64_t> swap = m_counters->swapUsedBytes())
        assign(this, m_memorySwap, gigabytes(*swap), &SystemStatsProvider::memorySwapChanged);
}

void SystemStatsProvider::updateNetwork() {
    const auto interfaces = m_counters->networkInterfaces();
    if (!interfaces)
        return;
    // Only real devices: loopback, bridges and veth pairs carry the same bytes
    // again and would count local traffic two or three times.
    NetworkTotals totals;
    for (const platform::InterfaceCounters& i : *interfaces) {
        if (!i.backedByDevice)
            continue;
        totals.down += i.receivedBytes;
        totals.up += i.sentBytes;
    }
    if (m_lastNetworkStats) {
        // A total that fell (an interface vanished or was reset) says nothing
        // about this second's traffic: report 0 and start again from it.
        const auto rate = [](std::uint64_t now, std::uint64_t before) {
            return now >= before ? static_cast<double>(now - before) / 1024.0 : 0.0;
        };
        assign(this, m_networkDownload, rate(totals.down, m_lastNetworkStats->down),
               &SystemStatsProvider::networkDownloadChanged);
        assign(this, m_networkUpload, rate(totals.up, m_lastNetworkStats->up),
               &SystemStatsProvider::networkUploadChanged);
        updateNetworkHistory();
    }
    m_lastNetworkStats = totals;
}

void SystemStatsProvider::updateTemperature() {
    if (!m_hidMonitor)
        return;
    if (const std::optional<double> celsius =
            m_hidMonitor->readTemperature(QString::fromLatin1(kSensorKey)))
        assign(this, m_socTemperature, *celsius, &SystemStatsProvider::socTemperatureChanged);
}

std::optional<BatteryInfo> SystemStatsProvider::getBatteryInfo() {
    return batteryInfoFrom(m_counters->powerSupplies());
}

void SystemStatsProvider::updateBattery() {
    const std::optional<BatteryInfo> info = getBatteryInfo();
    if (!info)
        return;
    assign(this, m_batteryPercentage, static_cast<qint64>(info->percentage),
           &SystemStatsProvider::batteryPercentageChanged);
    assign(this, m_batteryIsCharging, info->isCharging,
           &SystemStatsProvider::batteryIsChargingChanged);
    assign(this, m_batteryTimeToEmpty, static_cast<qint64>(info->timeToEmpty),
           &SystemStatsProvider::batteryTimeToEmptyChanged);
    if (m_powerDraw != info->wattage) {
        m_powerDraw = info->wattage;
        Q_EMIT powerDrawChanged();
        Q_EMIT efficiencyRatioChanged();
    }
}

void SystemStatsProvider::checkCPUAlerts() {
    if (m_highCpuAlertsOn && !m_highCpuAlertsOn()) {
        m_alerting = false; // a spell ends when the user silences it
        return;
    }
    const double threshold = m_alertThreshold ? m_alertThreshold() : 90.0;
    if (!(m_cpuUsage > threshold)) {
        m_alerting = false;
        return;
    }
    const long long whole =
        std::isfinite(m_cpuUsage) ? static_cast<long long>(std::trunc(m_cpuUsage)) : 0;
    platform::DesktopNotification alert;
    alert.requestId = QStringLiteral("HighCPU");
    alert.title = QStringLiteral("High CPU Usage Alert");
    alert.body =
        QStringLiteral("System CPU usage is at %1%. Consider checking intensive processes.")
            .arg(whole);
    // Only the first alert of a spell sounds; its replacements arrive silently.
    alert.playSound = !m_alerting;
    m_alerting = true;
    if (m_notifier)
        m_notifier->post(alert);
}

std::optional<QString> SystemStatsProvider::exportHistoryToCSV() {
    const double now = secondsSinceEpoch();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    // Qt answers an empty path for a TMPDIR that does not exist; writing there
    // would drop the file into whatever the current folder is.
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        logLine(QStringLiteral("Failed to write CSV: the temporary folder %1 does not exist")
                    .arg(qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"))));
        return std::nullopt;
    }
    const QString path = QDir(folder).filePath(historyFileName(now));
    if (const std::optional<QString> error =
            writeFileAtomically(path, historyCsv(m_cpuHistory, now).toUtf8())) {
        logLine(QStringLiteral("Failed to write CSV: ") + *error);
        return std::nullopt;
    }
    return path;
}

} // namespace pw
