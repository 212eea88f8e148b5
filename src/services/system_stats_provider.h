#pragma once

#include "platform/desktop_notifier.h"
#include "platform/system_counters.h"
#include "services/battery_info.h"
#include "services/busy_share.h"
#include "services/connection_reader.h"
#include "services/cpu_load.h"
#include "services/disk_rates.h"
#include "services/disk_space_alert.h"
#include "services/fan_speed.h"
#include "services/hid_monitor.h"
#include "services/rolling_peak.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace pw {

// The metrics engine: the latest system figures, refreshed once a second by a
// cycle that samples CPU, memory, network, disk, temperature and fans, battery,
// GPU and neural engine in that order, then checks the CPU and disk-space
// alerts. Slow-moving readings (route, connections, volume) are taken on the
// first cycle and every kSlowCycleInterval-th after; the connections arrive a
// moment later, from a reader thread.
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

    // Figures below use kUnknown (a negative number) where the machine offers
    // no source; views show "—" for them.
    Q_PROPERTY(double cpuUserUsage READ cpuUserUsage NOTIFY cpuUserUsageChanged)
    Q_PROPERTY(double cpuSystemUsage READ cpuSystemUsage NOTIFY cpuSystemUsageChanged)
    Q_PROPERTY(QList<double> coreUsages READ coreUsages NOTIFY coreUsagesChanged)
    Q_PROPERTY(QList<bool> coreIsEfficiency READ coreIsEfficiency NOTIFY coreIsEfficiencyChanged)
    Q_PROPERTY(double cpuClockGHz READ cpuClockGHz NOTIFY cpuClockGHzChanged)
    Q_PROPERTY(QString gpuName READ gpuName NOTIFY gpuNameChanged)
    Q_PROPERTY(double gpuBusy READ gpuBusy NOTIFY gpuBusyChanged)
    Q_PROPERTY(double gpuMemoryBusy READ gpuMemoryBusy NOTIFY gpuMemoryBusyChanged)
    Q_PROPERTY(double gpuTemperature READ gpuTemperature NOTIFY gpuTemperatureChanged)
    Q_PROPERTY(double gpuVramFraction READ gpuVramFraction NOTIFY gpuVramFractionChanged)
    Q_PROPERTY(QString diskVolumeName READ diskVolumeName NOTIFY diskVolumeNameChanged)
    Q_PROPERTY(QString diskKind READ diskKind NOTIFY diskKindChanged)
    Q_PROPERTY(double diskTotal READ diskTotal NOTIFY diskTotalChanged)
    Q_PROPERTY(double diskAvailable READ diskAvailable NOTIFY diskAvailableChanged)
    Q_PROPERTY(double diskUsedFraction READ diskUsedFraction NOTIFY diskUsedFractionChanged)
    Q_PROPERTY(double diskReadRate READ diskReadRate NOTIFY diskReadRateChanged)
    Q_PROPERTY(double diskWriteRate READ diskWriteRate NOTIFY diskWriteRateChanged)
    Q_PROPERTY(double diskReadPeak READ diskReadPeak NOTIFY diskReadPeakChanged)
    Q_PROPERTY(double diskWritePeak READ diskWritePeak NOTIFY diskWritePeakChanged)
    Q_PROPERTY(QList<double> networkHistory READ networkHistory NOTIFY networkHistoryChanged)
    Q_PROPERTY(
        QString networkInterfaceName READ networkInterfaceName NOTIFY networkInterfaceNameChanged)
    Q_PROPERTY(bool networkIsWireless READ networkIsWireless NOTIFY networkIsWirelessChanged)
    Q_PROPERTY(QString localIPv4Address READ localIPv4Address NOTIFY localIPv4AddressChanged)
    Q_PROPERTY(QStringList activeConnections READ activeConnections NOTIFY activeConnectionsChanged)
    Q_PROPERTY(QList<pw::FanSpeed> fans READ fans NOTIFY fansChanged)

public:
    static constexpr int kHistoryLength = 60;
    static constexpr auto kSensorKey = "Tp09";
    static constexpr double kUnknown = -1.0;
    static constexpr int kSlowCycleInterval = 5;
    static constexpr std::size_t kConnectionCount = 3;

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
    // Percent of wall time the neural processing unit was busy over the last
    // cycle; kUnknown without an NPU that reports it.
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

    // Percent of all CPUs' time spent in user (with nice) and system mode over
    // the last cycle; together they make cpuUsage.
    double cpuUserUsage() const { return m_cpuUserUsage; }
    double cpuSystemUsage() const { return m_cpuSystemUsage; }
    // Load of each logical CPU over the last cycle in percent, in CPU-number
    // order, with whether each is an efficiency core.
    const QList<double>& coreUsages() const { return m_coreUsages; }
    const QList<bool>& coreIsEfficiency() const { return m_coreIsEfficiency; }
    double cpuClockGHz() const { return m_cpuClockGHz; } // kUnknown when not reported

    QString gpuName() const { return m_gpuName; }                // empty without a GPU
    double gpuBusy() const { return m_gpuBusy; }                 // percent
    double gpuMemoryBusy() const { return m_gpuMemoryBusy; }     // percent
    double gpuTemperature() const { return m_gpuTemperature; }   // °C
    double gpuVramFraction() const { return m_gpuVramFraction; } // 0–1

    // The volume mounted at "/": sizes in GB (1024³ bytes), rates in bytes
    // per second of its block device, peaks over the last 60 cycles.
    QString diskVolumeName() const { return m_diskVolumeName; }
    QString diskKind() const { return m_diskKind; } // "SSD", "HDD" or empty
    double diskTotal() const { return m_diskTotal; }
    double diskAvailable() const { return m_diskAvailable; }
    double diskUsedFraction() const { return m_diskUsedFraction; } // 0–1
    double diskReadRate() const { return m_diskReadRate; }
    double diskWriteRate() const { return m_diskWriteRate; }
    double diskReadPeak() const { return m_diskReadPeak; }
    double diskWritePeak() const { return m_diskWritePeak; }

    // The last 60 networkDownload values, oldest first, kept like cpuHistory.
    const QList<double>& networkHistory() const { return m_networkHistory; }
    // The interface of the default route; empty when there is none.
    QString networkInterfaceName() const { return m_networkInterfaceName; }
    bool networkIsWireless() const { return m_networkIsWireless; }
    QString localIPv4Address() const { return m_localIPv4Address; } // empty when unknown
    // Up to three established TCP connections as "address:port" of the remote end.
    const QStringList& activeConnections() const { return m_activeConnections; }
    const QList<FanSpeed>& fans() const { return m_fans; }

    // Whether the two alerts may post; both on unless set.
    void setAlertSwitches(std::function<bool()> highCpu, std::function<bool()> diskSpaceLow);

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
    void cpuUserUsageChanged();
    void cpuSystemUsageChanged();
    void coreUsagesChanged();
    void coreIsEfficiencyChanged();
    void cpuClockGHzChanged();
    void gpuNameChanged();
    void gpuBusyChanged();
    void gpuMemoryBusyChanged();
    void gpuTemperatureChanged();
    void gpuVramFractionChanged();
    void diskVolumeNameChanged();
    void diskKindChanged();
    void diskTotalChanged();
    void diskAvailableChanged();
    void diskUsedFractionChanged();
    void diskReadRateChanged();
    void diskWriteRateChanged();
    void diskReadPeakChanged();
    void diskWritePeakChanged();
    void networkHistoryChanged();
    void networkInterfaceNameChanged();
    void networkIsWirelessChanged();
    void localIPv4AddressChanged();
    void activeConnectionsChanged();
    void fansChanged();
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
    // The newer figures, in system_stats_devices.cpp.
    void updateCpuDetails(const CpuLoad& load);
    void updateCpuClock();
    void updateNetworkHistory();
    void updateNetworkDetails();
    void applyConnections(const std::optional<std::vector<platform::TcpConnection>>& connections);
    void updateVolume();
    void updateDiskActivity();
    void updateGpu();
    void updateFans();
    void checkDiskSpaceAlert();
    bool isSlowCycle() const { return m_cycle % kSlowCycleInterval == 0; }

    std::shared_ptr<platform::SystemCounters> m_counters;
    std::shared_ptr<platform::DesktopNotifier> m_notifier;
    std::function<double()> m_alertThreshold;
    std::function<bool()> m_highCpuAlertsOn;
    std::function<bool()> m_diskSpaceLowAlertsOn;
    QTimer* m_timer = nullptr;
    std::unique_ptr<HIDMonitor> m_hidMonitor;

    double m_cpuUsage = 0.0;
    QList<double> m_cpuHistory;
    double m_eClusterUsage = 0.0;
    double m_pClusterUsage = 0.0;
    double m_aneUsage = kUnknown;
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
    double m_cpuUserUsage = 0.0;
    double m_cpuSystemUsage = 0.0;
    QList<double> m_coreUsages;
    QList<bool> m_coreIsEfficiency;
    double m_cpuClockGHz = kUnknown;
    QString m_gpuName;
    double m_gpuBusy = kUnknown;
    double m_gpuMemoryBusy = kUnknown;
    double m_gpuTemperature = kUnknown;
    double m_gpuVramFraction = kUnknown;
    QString m_diskVolumeName;
    QString m_diskKind;
    double m_diskTotal = 0.0;
    double m_diskAvailable = 0.0;
    double m_diskUsedFraction = kUnknown;
    double m_diskReadRate = kUnknown;
    double m_diskWriteRate = kUnknown;
    double m_diskReadPeak = kUnknown;
    double m_diskWritePeak = kUnknown;
    QList<double> m_networkHistory;
    QString m_networkInterfaceName;
    bool m_networkIsWireless = false;
    QString m_localIPv4Address;
    QStringList m_activeConnections;
    QList<FanSpeed> m_fans;

    std::optional<std::vector<platform::CpuTicks>> m_previousCpuInfo;
    struct NetworkTotals {
        std::uint64_t up = 0;
        std::uint64_t down = 0;
    };
    std::optional<NetworkTotals> m_lastNetworkStats;
    int m_eCoreCount = 0;
    int m_pCoreCount = 0;
    CpuClusters m_clusters;
    bool m_alerting = false;   // the previous cycle posted an alert
    std::uint64_t m_cycle = 0; // cycles finished so far
    DiskRates m_diskRates;
    RollingPeak<kHistoryLength> m_diskReadPeaks;
    RollingPeak<kHistoryLength> m_diskWritePeaks;
    BusyShare m_npuShare;
    DiskSpaceAlert m_diskSpaceAlert;
    // Last, so it is destroyed first and no read outlives the figures above.
    std::unique_ptr<ConnectionReader> m_connectionReader;
};

} // namespace pw
