#pragma once

#include "platform/desktop_notifier.h"
#include "platform/sources.h"
#include "services/alerts/cpu_alert.h"
#include "services/alerts/disk_space_alert.h"
#include "services/demand/demand.h"
#include "services/engine/sampling_engine.h"
#include "services/engine/snapshot.h"
#include "services/power/battery_info.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace pw {

// The metrics engine's store: the latest system figures, refreshed once a
// second by a cycle that samples CPU, memory, network, temperature, battery
// and the neural engine in that order (with the device readings between),
// then checks the CPU and disk-space alerts. A figure the machine cannot give
// is empty. After each cycle the whole snapshot goes to the consumers added
// with `addSnapshotConsumer`, then `cycleFinished` tells the views.
class SystemStatsProvider : public QObject {
    Q_OBJECT
    Q_PROPERTY(double cpuUsage READ cpuUsage NOTIFY cpuUsageChanged)
    Q_PROPERTY(QList<double> cpuHistory READ cpuHistory NOTIFY cpuHistoryChanged)
    Q_PROPERTY(std::optional<double> eClusterUsage READ eClusterUsage NOTIFY eClusterUsageChanged)
    Q_PROPERTY(double pClusterUsage READ pClusterUsage NOTIFY pClusterUsageChanged)
    Q_PROPERTY(std::optional<double> aneUsage READ aneUsage NOTIFY aneUsageChanged)
    Q_PROPERTY(double memoryUsed READ memoryUsed NOTIFY memoryUsedChanged)
    Q_PROPERTY(double memoryTotal READ memoryTotal NOTIFY memoryTotalChanged)
    Q_PROPERTY(double memoryPressure READ memoryPressure NOTIFY memoryPressureChanged)
    Q_PROPERTY(double memoryWired READ memoryWired NOTIFY memoryWiredChanged)
    Q_PROPERTY(double memoryCompressed READ memoryCompressed NOTIFY memoryCompressedChanged)
    Q_PROPERTY(double memoryApp READ memoryApp NOTIFY memoryAppChanged)
    Q_PROPERTY(double memorySwap READ memorySwap NOTIFY memorySwapChanged)
    Q_PROPERTY(double networkUpload READ networkUpload NOTIFY networkUploadChanged)
    Q_PROPERTY(double networkDownload READ networkDownload NOTIFY networkDownloadChanged)
    Q_PROPERTY(
        std::optional<double> socTemperature READ socTemperature NOTIFY socTemperatureChanged)
    Q_PROPERTY(std::optional<double> powerDraw READ powerDraw NOTIFY powerDrawChanged)
    Q_PROPERTY(std::optional<qint64> batteryPercentage READ batteryPercentage NOTIFY
                   batteryPercentageChanged)
    Q_PROPERTY(std::optional<bool> batteryIsCharging READ batteryIsCharging NOTIFY
                   batteryIsChargingChanged)
    Q_PROPERTY(
        std::optional<BatteryState> batteryState READ batteryState NOTIFY batteryStateChanged)
    Q_PROPERTY(std::optional<qint64> batteryTimeToEmpty READ batteryTimeToEmpty NOTIFY
                   batteryTimeToEmptyChanged)
    Q_PROPERTY(
        std::optional<double> efficiencyRatio READ efficiencyRatio NOTIFY efficiencyRatioChanged)

public:
    static constexpr int kHistoryLength = 60;

    // `alertThreshold` is asked once per cycle; the alert fires strictly above it.
    SystemStatsProvider(const platform::Sources& sources,
                        std::shared_ptr<platform::DesktopNotifier> notifier,
                        std::function<double()> alertThreshold, QObject* parent = nullptr);
    ~SystemStatsProvider() override;

    double cpuUsage() const { return m_snapshot.cpu.usagePercent; }
    const QList<double>& cpuHistory() const { return m_snapshot.cpu.historyPercent; }
    // Empty on a CPU without efficiency cores.
    std::optional<double> eClusterUsage() const { return m_snapshot.cpu.eClusterUsagePercent; }
    double pClusterUsage() const { return m_snapshot.cpu.pClusterUsagePercent; }
    // Percent of wall time the neural processing unit was busy over the last
    // cycle; empty without an NPU that reports it.
    std::optional<double> aneUsage() const { return m_snapshot.npuUsagePercent; }
    double memoryUsed() const { return m_snapshot.memory.usedGB; }
    double memoryTotal() const { return m_snapshot.memory.totalGB; }
    double memoryPressure() const { return m_snapshot.memory.pressurePercent; }
    double memoryWired() const { return m_snapshot.memory.wiredGB; }
    double memoryCompressed() const { return m_snapshot.memory.compressedGB; }
    double memoryApp() const { return m_snapshot.memory.appGB; }
    double memorySwap() const { return m_snapshot.memory.swapUsedGB; }
    double networkUpload() const { return m_snapshot.network.uploadKB; }
    double networkDownload() const { return m_snapshot.network.downloadKB; }
    // The last reading had; empty until a sensor gave one.
    std::optional<double> socTemperature() const { return m_snapshot.socTemperatureCelsius; }
    std::optional<double> powerDraw() const { return m_snapshot.power.drawWatts; }
    std::optional<qint64> batteryPercentage() const { return m_snapshot.power.batteryPercent; }
    std::optional<bool> batteryIsCharging() const { return m_snapshot.power.batteryIsCharging; }
    std::optional<BatteryState> batteryState() const { return m_snapshot.power.batteryState; }
    std::optional<qint64> batteryTimeToEmpty() const {
        return m_snapshot.power.batteryMinutesToEmpty;
    }
    std::optional<double> efficiencyRatio() const { return m_snapshot.efficiencyRatio(); }

    int eCoreCount() const { return m_snapshot.cpu.eCoreCount; }
    int pCoreCount() const { return m_snapshot.cpu.pCoreCount; }

    // Everything the last cycle found.
    const Snapshot& snapshot() const { return m_snapshot; }
    // Called with each cycle's snapshot, in the order added, before cycleFinished.
    void addSnapshotConsumer(std::function<void(const Snapshot&)> consumer);

    // Who wants which of the costlier readings. A reading that gains its
    // first consumer is taken at once and the views told, as after a cycle.
    Demand& demand() const { return *m_demand; }

    // Whether the two alerts may post; both on unless set.
    void setAlertSwitches(std::function<bool()> highCpu, std::function<bool()> diskSpaceLow);

    std::optional<BatteryInfo> getBatteryInfo();

    // Writes the CPU history to a new CSV file in the temporary folder and
    // returns its path; absent (after a log line) when the write failed.
    std::optional<QString> exportHistoryToCSV();

    // One update cycle. The polling timer queues it once a second.
    void updateStats();
    // Starts the 1-second timer; creation does not, so tests drive cycles by hand.
    void startPolling();

Q_SIGNALS:
    void cpuUsageChanged();
    void cpuHistoryChanged();
    void eClusterUsageChanged();
    void pClusterUsageChanged();
    void aneUsageChanged();
    void memoryUsedChanged();
    void memoryTotalChanged();
    void memoryPressureChanged();
    void memoryWiredChanged();
    void memoryCompressedChanged();
    void memoryAppChanged();
    void memorySwapChanged();
    void networkUploadChanged();
    void networkDownloadChanged();
    void socTemperatureChanged();
    void powerDrawChanged();
    void batteryPercentageChanged();
    void batteryIsChargingChanged();
    void batteryStateChanged();
    void batteryTimeToEmptyChanged();
    void efficiencyRatioChanged();
    // After every cycle, once all figures of that cycle are in place.
    void cycleFinished();

private:
    void publish(Snapshot next);
    void sampleNow(Reading reading);

    platform::Sources m_sources;
    std::shared_ptr<platform::DesktopNotifier> m_notifier;
    std::function<double()> m_alertThreshold;
    std::function<bool()> m_highCpuAlertsOn;
    std::function<bool()> m_diskSpaceLowAlertsOn;
    QTimer* m_timer = nullptr;
    std::unique_ptr<Demand> m_demand;
    SamplingEngine m_engine;
    Snapshot m_snapshot;
    CpuAlert m_cpuAlert;
    DiskSpaceAlert m_diskSpaceAlert;
    std::vector<std::function<void(const Snapshot&)>> m_consumers;
};

} // namespace pw
