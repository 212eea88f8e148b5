#pragma once

#include "services/engine/snapshot.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace pw {

// The GPU the views show (the busiest awake discrete card, else the integrated
// one) and the list of every card. Updated from each cycle's snapshot.
class GpuMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString gpuName READ gpuName NOTIFY gpuNameChanged)
    Q_PROPERTY(std::optional<double> gpuBusy READ gpuBusy NOTIFY gpuBusyChanged)
    Q_PROPERTY(std::optional<double> gpuMemoryBusy READ gpuMemoryBusy NOTIFY gpuMemoryBusyChanged)
    Q_PROPERTY(
        std::optional<double> gpuTemperature READ gpuTemperature NOTIFY gpuTemperatureChanged)
    Q_PROPERTY(
        std::optional<double> gpuVramFraction READ gpuVramFraction NOTIFY gpuVramFractionChanged)
    Q_PROPERTY(std::optional<double> gpuPowerWatts READ gpuPowerWatts NOTIFY gpuPowerWattsChanged)
    Q_PROPERTY(int gpuCount READ gpuCount NOTIFY gpusChanged)
    Q_PROPERTY(bool gpuBusyIsPartial READ gpuBusyIsPartial NOTIFY gpuBusyChanged)

public:
    using QObject::QObject;

    QString gpuName() const { return m_gpuName; }                             // empty without a GPU
    std::optional<double> gpuBusy() const { return m_gpuBusy; }               // percent
    std::optional<double> gpuMemoryBusy() const { return m_gpuMemoryBusy; }   // percent
    std::optional<double> gpuTemperature() const { return m_gpuTemperature; } // °C
    std::optional<double> gpuVramFraction() const { return m_gpuVramFraction; } // 0–1
    std::optional<double> gpuPowerWatts() const { return m_gpuPowerWatts; }
    // The busy figure counts only the processes this user may read.
    bool gpuBusyIsPartial() const { return m_gpuBusyIsPartial; }
    int gpuCount() const { return static_cast<int>(m_gpus.size()); }
    const std::vector<platform::GpuDevice>& gpus() const { return m_gpus; }
    const platform::GpuProcesses& gpuProcesses() const { return m_gpuProcesses; }

    void apply(const Snapshot& snapshot);

Q_SIGNALS:
    void gpuNameChanged();
    void gpuBusyChanged();
    void gpuMemoryBusyChanged();
    void gpuTemperatureChanged();
    void gpuVramFractionChanged();
    void gpuPowerWattsChanged();
    void gpusChanged();
    void gpuProcessesChanged();

private:
    QString m_gpuName;
    std::optional<double> m_gpuBusy;
    std::optional<double> m_gpuMemoryBusy;
    std::optional<double> m_gpuTemperature;
    std::optional<double> m_gpuVramFraction;
    std::optional<double> m_gpuPowerWatts;
    bool m_gpuBusyIsPartial = false;
    std::vector<platform::GpuDevice> m_gpus;
    platform::GpuProcesses m_gpuProcesses;
};

// Used VRAM as a share of the card's; empty when either is unknown.
std::optional<double> vramFraction(const platform::GpuDevice& device);

} // namespace pw
