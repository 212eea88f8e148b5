#include "services/system_stats_provider.h"

#include "services/atomic_write.h"
#include "services/history_csv.h"
#include "services/log_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace pw {

SystemStatsProvider::SystemStatsProvider(const platform::Sources& sources,
                                         std::shared_ptr<platform::DesktopNotifier> notifier,
                                         std::function<double()> alertThreshold, QObject* parent)
    : QObject(parent), m_sources(sources), m_notifier(std::move(notifier)),
      m_alertThreshold(std::move(alertThreshold)), m_demand(std::make_unique<Demand>()),
      m_engine(sources, m_demand.get()) {
    connect(m_demand.get(), &Demand::raised, this, &SystemStatsProvider::sampleNow);
    m_snapshot.cpu.historyPercent = QList<double>(kHistoryLength, 0.0);
    m_snapshot.network.downloadHistoryKB = QList<double>(kHistoryLength, 0.0);
    m_snapshot.cpu.eCoreCount = m_engine.cpu().clusters().eCoreCount;
    m_snapshot.cpu.pCoreCount = m_engine.cpu().clusters().pCoreCount;
}

SystemStatsProvider::~SystemStatsProvider() = default;

void SystemStatsProvider::startPolling() {
    if (m_timer)
        return;
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    // The tick runs the cycle itself: a timer fires only from the event loop,
    // never inside another handler, and queueing the cycle instead would cost
    // a wake-up of the loop (three system calls) every second.
    connect(m_timer, &QTimer::timeout, this, &SystemStatsProvider::updateStats);
    m_timer->start();
}

void SystemStatsProvider::setAlertSwitches(std::function<bool()> highCpu,
                                           std::function<bool()> diskSpaceLow) {
    m_highCpuAlertsOn = std::move(highCpu);
    m_diskSpaceLowAlertsOn = std::move(diskSpaceLow);
}

void SystemStatsProvider::addSnapshotConsumer(std::function<void(const Snapshot&)> consumer) {
    m_consumers.push_back(std::move(consumer));
}

void SystemStatsProvider::updateStats() {
    Q_ASSERT(!QCoreApplication::instance() ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
    Snapshot next = m_snapshot;
    m_engine.runCycle(next);
    publish(std::move(next));

    const bool cpuAlertsOn = !m_highCpuAlertsOn || m_highCpuAlertsOn();
    const double threshold = m_alertThreshold ? m_alertThreshold() : CpuAlert::kDefaultThreshold;
    std::optional<platform::DesktopNotification> alert =
        m_cpuAlert.check(cpuAlertsOn, cpuUsage(), threshold);
    if (alert && m_notifier)
        m_notifier->post(*alert);

    const bool diskAlertsOn = !m_diskSpaceLowAlertsOn || m_diskSpaceLowAlertsOn();
    const StorageFigures& disk = m_snapshot.storage;
    alert = m_diskSpaceAlert.check(diskAlertsOn, disk.totalGB.value_or(0.0),
                                   disk.availableGB.value_or(0.0));
    if (alert && m_notifier)
        m_notifier->post(*alert);

    for (const auto& consumer : m_consumers)
        consumer(m_snapshot);
    Q_EMIT cycleFinished();
}

void SystemStatsProvider::sampleNow(Reading reading) {
    if (reading == Reading::Processes)
        return; // the process monitor's own
    Snapshot next = m_snapshot;
    m_engine.sampleNow(reading, next);
    publish(std::move(next));
    for (const auto& consumer : m_consumers)
        consumer(m_snapshot);
    Q_EMIT cycleFinished();
}

void SystemStatsProvider::publish(Snapshot next) {
    const Snapshot previous = std::exchange(m_snapshot, std::move(next));
    const Snapshot& now = m_snapshot;
    // Each figure notifies only when its value changed, in declaration order.
    const auto notify = [this](const auto& before, const auto& after,
                               void (SystemStatsProvider::*signal)()) {
        if (!(before == after))
            Q_EMIT(this->*signal)();
    };
    notify(previous.cpu.usagePercent, now.cpu.usagePercent, &SystemStatsProvider::cpuUsageChanged);
    notify(previous.cpu.historyPercent, now.cpu.historyPercent,
           &SystemStatsProvider::cpuHistoryChanged);
    notify(previous.cpu.eClusterUsagePercent, now.cpu.eClusterUsagePercent,
           &SystemStatsProvider::eClusterUsageChanged);
    notify(previous.cpu.pClusterUsagePercent, now.cpu.pClusterUsagePercent,
           &SystemStatsProvider::pClusterUsageChanged);
    notify(previous.npuUsagePercent, now.npuUsagePercent, &SystemStatsProvider::aneUsageChanged);
    notify(previous.memory.usedGB, now.memory.usedGB, &SystemStatsProvider::memoryUsedChanged);
    notify(previous.memory.totalGB, now.memory.totalGB, &SystemStatsProvider::memoryTotalChanged);
    notify(previous.memory.pressurePercent, now.memory.pressurePercent,
           &SystemStatsProvider::memoryPressureChanged);
    notify(previous.memory.wiredGB, now.memory.wiredGB, &SystemStatsProvider::memoryWiredChanged);
    notify(previous.memory.compressedGB, now.memory.compressedGB,
           &SystemStatsProvider::memoryCompressedChanged);
    notify(previous.memory.appGB, now.memory.appGB, &SystemStatsProvider::memoryAppChanged);
    notify(previous.memory.swapUsedGB, now.memory.swapUsedGB,
           &SystemStatsProvider::memorySwapChanged);
    notify(previous.network.uploadKB, now.network.uploadKB,
           &SystemStatsProvider::networkUploadChanged);
    notify(previous.network.downloadKB, now.network.downloadKB,
           &SystemStatsProvider::networkDownloadChanged);
    notify(previous.socTemperatureCelsius, now.socTemperatureCelsius,
           &SystemStatsProvider::socTemperatureChanged);
    notify(previous.power.drawWatts, now.power.drawWatts, &SystemStatsProvider::powerDrawChanged);
    notify(previous.power.batteryPercent, now.power.batteryPercent,
           &SystemStatsProvider::batteryPercentageChanged);
    notify(previous.power.batteryIsCharging, now.power.batteryIsCharging,
           &SystemStatsProvider::batteryIsChargingChanged);
    notify(previous.power.batteryState, now.power.batteryState,
           &SystemStatsProvider::batteryStateChanged);
    notify(previous.power.batteryMinutesToEmpty, now.power.batteryMinutesToEmpty,
           &SystemStatsProvider::batteryTimeToEmptyChanged);
    notify(previous.efficiencyRatio(), now.efficiencyRatio(),
           &SystemStatsProvider::efficiencyRatioChanged);
}

std::optional<BatteryInfo> SystemStatsProvider::getBatteryInfo() {
    return batteryInfoFrom(m_sources.power->powerSupplies());
}

std::optional<QString> SystemStatsProvider::exportHistoryToCSV() {
    const double now = m_sources.clock->wallSeconds();
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
            writeFileAtomically(path, historyCsv(cpuHistory(), now).toUtf8())) {
        logLine(QStringLiteral("Failed to write CSV: ") + *error);
        return std::nullopt;
    }
    return path;
}

} // namespace pw
