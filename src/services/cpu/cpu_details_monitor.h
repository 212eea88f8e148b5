#pragma once

#include "services/engine/snapshot.h"

#include <QList>
#include <QObject>

#include <optional>

namespace pw {

// The CPU figures beyond the store's own: the user/system split, each core's
// load and the clock. Updated from each cycle's snapshot.
class CpuDetailsMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<double> cpuUserUsage READ cpuUserUsage NOTIFY cpuUserUsageChanged)
    Q_PROPERTY(
        std::optional<double> cpuSystemUsage READ cpuSystemUsage NOTIFY cpuSystemUsageChanged)
    Q_PROPERTY(QList<double> coreUsages READ coreUsages NOTIFY coreUsagesChanged)
    Q_PROPERTY(QList<bool> coreIsEfficiency READ coreIsEfficiency NOTIFY coreIsEfficiencyChanged)
    Q_PROPERTY(std::optional<double> cpuClockGHz READ cpuClockGHz NOTIFY cpuClockGHzChanged)

public:
    using QObject::QObject;

    // Percent of all CPUs' time in user (with nice) and system mode last cycle.
    std::optional<double> cpuUserUsage() const { return m_cpuUserUsage; }
    std::optional<double> cpuSystemUsage() const { return m_cpuSystemUsage; }
    // Percent per logical CPU, in CPU-number order, and which are efficiency cores.
    const QList<double>& coreUsages() const { return m_coreUsages; }
    const QList<bool>& coreIsEfficiency() const { return m_coreIsEfficiency; }
    std::optional<double> cpuClockGHz() const { return m_cpuClockGHz; }

    void apply(const Snapshot& snapshot);

Q_SIGNALS:
    void cpuUserUsageChanged();
    void cpuSystemUsageChanged();
    void coreUsagesChanged();
    void coreIsEfficiencyChanged();
    void cpuClockGHzChanged();

private:
    std::optional<double> m_cpuUserUsage;
    std::optional<double> m_cpuSystemUsage;
    QList<double> m_coreUsages;
    QList<bool> m_coreIsEfficiency;
    std::optional<double> m_cpuClockGHz;
};

} // namespace pw
