#pragma once

#include "platform/gpu_source.h"
#include "services/fans/fan_speed.h"
#include "services/power/battery_info.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

// Everything one engine cycle found, area by area, after the store applied its
// rules (kept values, histories). Views, outputs and exporters read figures
// from here; a figure the machine could not give is empty.
struct CpuFigures {
    double usagePercent = 0.0;
    QList<double> historyPercent;               // the last 60 usages, oldest first
    std::optional<double> eClusterUsagePercent; // empty without efficiency cores
    double pClusterUsagePercent = 0.0;
    std::optional<double> userUsagePercent; // user + nice, of all CPUs' time
    std::optional<double> systemUsagePercent;
    QList<double> coreUsagePercent; // per logical CPU, CPU-number order
    QList<bool> coreIsEfficiency;
    QList<int> coreNumbers; // the CPU number of each entry above
    std::optional<double> clockGHz;
    int eCoreCount = 0;
    int pCoreCount = 0;
    // Cumulative ticks per mode of all CPUs since boot (for counters that
    // only grow); empty before the first reading.
    struct ModeSeconds {
        double user = 0.0;
        double system = 0.0;
        double idle = 0.0;
        double nice = 0.0;
    };
    std::optional<ModeSeconds> totalSeconds;
    // The same per CPU, in CPU-number order.
    struct CoreSeconds {
        int cpu = 0;
        ModeSeconds seconds;
    };
    QList<CoreSeconds> coreSeconds;
};

struct MemoryFigures {
    double usedGB = 0.0;
    double totalGB = 0.0;
    double pressurePercent = 0.0;
    double wiredGB = 0.0;
    double compressedGB = 0.0;
    double appGB = 0.0;
    double swapUsedGB = 0.0;
    std::optional<double> swapTotalGB;
};

struct NetworkFigures {
    double uploadKB = 0.0;           // per 1-second cycle
    double downloadKB = 0.0;         // per 1-second cycle
    QList<double> downloadHistoryKB; // the last 60 downloads, oldest first
    // Bytes moved by real interfaces since boot; empty until read.
    std::optional<std::uint64_t> receivedBytesTotal;
    std::optional<std::uint64_t> transmittedBytesTotal;
    QString interfaceName; // of the default route; empty when there is none
    bool wireless = false;
    std::optional<QString> ipv4Address;
    QStringList activeConnections; // "address:port" of the remote ends
};

struct PowerFigures {
    std::optional<qint64> batteryPercent;
    std::optional<bool> batteryIsCharging;
    std::optional<BatteryState> batteryState;
    std::optional<qint64> batteryMinutesToEmpty;
    std::optional<double> drawWatts;
};

struct StorageFigures {
    QString volumeName;
    QString kind; // "SSD", "HDD" or empty
    std::optional<double> totalGB;
    std::optional<double> availableGB;
    std::optional<double> usedFraction; // 0–1
    std::optional<double> readBytesPerSecond;
    std::optional<double> writeBytesPerSecond;
    std::optional<double> readPeakBytesPerSecond;  // over the last 60 cycles
    std::optional<double> writePeakBytesPerSecond; // over the last 60 cycles
    // Bytes moved by the root device since boot; empty until read.
    std::optional<std::uint64_t> readBytesTotal;
    std::optional<std::uint64_t> writtenBytesTotal;
};

struct GpuFigures {
    std::vector<platform::GpuDevice> devices;
    // The card the views show: the busiest awake discrete card, else the
    // first integrated one; empty without a GPU.
    std::optional<std::size_t> shown;
    // The processes using a GPU, busiest first.
    platform::GpuProcesses processes;
    const platform::GpuDevice* shownDevice() const {
        return shown && *shown < devices.size() ? &devices[*shown] : nullptr;
    }
};

struct Snapshot {
    double wallSeconds = 0.0; // when the cycle ran
    CpuFigures cpu;
    MemoryFigures memory;
    NetworkFigures network;
    std::optional<double> socTemperatureCelsius;
    PowerFigures power;
    std::optional<double> npuUsagePercent;
    StorageFigures storage;
    GpuFigures gpu;
    QList<FanSpeed> fans;
    // The CPU load per watt drawn; empty without a power reading.
    std::optional<double> efficiencyRatio() const {
        if (!power.drawWatts || !(*power.drawWatts > 0.0))
            return std::nullopt;
        return cpu.usagePercent / *power.drawWatts;
    }
};

} // namespace pw
