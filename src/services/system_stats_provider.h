#pragma once

#include "platform/desktop_notifier.h"
#include "platform/system_counters.h"
#include "services/battery_info.h"
#include "services/cpu_load.h"
#include "services/hid_monitor.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace pw {

// The metrics engine: the latest system figures, refreshed once a second by a
// cycle that samples CPU, memory, network, temperature and battery in that
// order, then checks the CPU alert.
class SystemStatsProvider : public QObject {
    Q_OBJECT
    Q_PROPERTY(double cpuUsage READ cpuUsage NOTIFY cpuUsageChanged)
    Q_PROPERTY(QList<double> cpuHistory READ cpuHistory NOTIFY cpuHistoryChanged)
    Q_PROPERTY(double eClusterUsage READ eClusterUsage NOTIFY eClusterUsageChanged)
    Q_PROPERTY(double pClusterUsage READ pClusterUsage NOTIFY pClusterUsageChanged)
    Q_PROPERTY(double aneUsage READ aneUsage NOTIFY aneUsageChanged)
    Q_PROPERTY(double memoryUsed READ memoryUsed NOTIFY memoryUsedChanged)
    Q_PROPERTY(double memoryTotal READ memoryTotal NOTIFY memoryTotalChanged)
    Q_PROPERTY(double memoryPressure READ memoryPressure NOTIFY memoryPressureChanged)
    Q_PROPERTY(double memoryWired READ memoryWired NOTIFY memoryWiredChanged)
    Q_PROPERTY(double memoryCompressed READ memoryCompressed NOTIFY memoryCompressedChanged)
    Q_PROPERTY(double memoryApp READ memoryApp NOTIFY memoryAppChanged)
    Q_PROPERTY(double memorySwap READ memorySwap NOTIFY memorySwapChanged)
    Q_PROPERTY(double networkUpload READ networkUpload NOTIFY networkUploadChanged)
    Q_PROPERTY(double networkDownload READ networkDownload NOTIFY networkDownloadChanged)
    Q_PROPERTY(double socTemperature READ socTemperature NOTIFY socTemperatureChanged)
    Q_PROPERTY(double powerDraw READ powerDraw NOTIFY powerDrawChanged)
    Q_PROPERTY(qint64 batteryPercentage READ batteryPercentage NOTIFY batteryPercentageChanged)
    Q_PROPERTY(bool batteryIsCharging READ batteryIsCharging NOTIFY batteryIsChargingChanged)
    Q_PROPERTY(qint64 batteryTimeToEmpty READ batteryTimeToEmpty NOTIFY batteryTimeToEmptyChanged)
    Q_PROPERTY(double efficiencyRatio READ efficiencyRatio NOTIFY efficiencyRatioChanged)

public:
    static constexpr int kHistoryLength = 60;
    static constexpr auto kSensorKey = "Tp09";

    // The one store of the running program, over the live machine (or the
    // tree given to `configureShared`). Created on first use, on the main thread.
    static SystemStatsProvider& shared();
    static void configureShared(std::shared_ptr<platform::SystemCounters> counters,
                                std::shared_ptr<platform::DesktopNotifier> notifier);

    // `alertThreshold` is asked once per cycle; the alert fires strictly above it.
    SystemStatsProvider(std::shared_ptr<platform::SystemCounters> counters,
                        std::shared_ptr<platform::DesktopNotifier> notifier,
                        std::function<double()> alertThreshold, QObject* parent = nullptr);
    ~SystemStatsProvider() override;

    double cpuUsage() const { return m_cpuUsage; }
    const QList<double>& cpuHistory() const { return m_cpuHistory; }
    double eClusterUsage() const { return m_eClusterUsage; }
    double pClusterUsage() const { return m_pClusterUsage; }
    double aneUsage() const { return m_aneUsage; }
    double memoryUsed() const { return m_memoryUsed; }
    double memoryTotal() const { return m_memoryTotal; }
    double memoryPressure() const { return m_memoryPressure; }
    double memoryWired() const { return m_memoryWired; }
    double memoryCompressed() const { return m_memoryCompressed; }
    double memoryApp() const { return m_memoryApp; }
    double memorySwap() const { return m_memorySwap; }
    double networkUpload() const { return m_networkUpload; }
    double networkDownload() const { return m_networkDownload; }
    double socTemperature() const { return m_socTemperature; }
    double powerDraw() const { return m_powerDraw; }
    qint64 batteryPercentage() const { return m_batteryPercentage; }
    bool batteryIsCharging() const { return m_batteryIsCharging; }
    qint64 batteryTimeToEmpty() const { return m_batteryTimeToEmpty; }
    double efficiencyRatio() const;

    int eCoreCount() const { return m_eCoreCount; }
    int pCoreCount() const { return m_pCoreCount; }

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
    void batteryTimeToEmptyChanged();
    void efficiencyRatioChanged();
    // After every cycle, once all figures of that cycle are in place.
    void cycleFinished();

private:
    void determineCoreCounts();
    void updateCPU();
    void updateMemory();
    void updateNetwork();
    void updateTemperature();
    void updateBattery();
    void updateNeuralEngine();
    void checkCPUAlerts();

    std::shared_ptr<platform::SystemCounters> m_counters;
    std::shared_ptr<platform::DesktopNotifier> m_notifier;
    std::function<double()> m_alertThreshold;
    QTimer* m_timer = nullptr;
    std::unique_ptr<HIDMonitor> m_hidMonitor;

    double m_cpuUsage = 0.0;
    QList<double> m_cpuHistory;
    double m_eClusterUsage = 0.0;
    double m_pClusterUsage = 0.0;
    double m_aneUsage = 0.0;
    double m_memoryUsed = 0.0;
    double m_memoryTotal = 0.0;
    double m_memoryPressure = 0.0;
    double m_memoryWired = 0.0;
    double m_memoryCompressed = 0.0;
    double m_memoryApp = 0.0;
    double m_memorySwap = 0.0;
    double m_networkUpload = 0.0;
    double m_networkDownload = 0.0;
    double m_socTemperature = 0.0;
    double m_powerDraw = 0.0;
    qint64 m_batteryPercentage = 0;
    bool m_batteryIsCharging = false;
    qint64 m_batteryTimeToEmpty = 0;

    std::optional<std::vector<platform::CpuTicks>> m_previousCpuInfo;
    struct NetworkTotals {
        std::uint64_t up = 0;
        std::uint64_t down = 0;
    };
    std::optional<NetworkTotals> m_lastNetworkStats;
    int m_eCoreCount = 0;
    int m_pCoreCount = 0;
    CpuClusters m_clusters;
    bool m_alerting = false; // the previous cycle posted an alert
};

} // namespace pw
