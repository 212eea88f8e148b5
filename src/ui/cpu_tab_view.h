#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace pw {
class CpuDetailsMonitor;
class SystemStatsProvider;
class ProcessMonitor;
class Preferences;
struct StatsModels;
} // namespace pw

namespace pw::ui {

class GaugeRing;
class GpuStrip;
class ProcessListSection;
class SparklineView;
class SteadyLabel;

// The popup's CPU tab: load history, user/system split, core rings and
// cluster loads, the busiest processes and the GPU strip.
class CPUTabView : public QWidget {
    Q_OBJECT

public:
    CPUTabView(const StatsModels& models, ProcessMonitor& processMonitor, Preferences& preferences,
               QWidget* parent = nullptr);

    QString headerText() const;
    QString userText() const;
    QString systemText() const;
    QString efficiencyText() const;
    QString performanceText() const;
    SparklineView* sparkline() const { return m_sparkline; }
    ProcessListSection* processes() const { return m_processes; }
    // In CPU order, row by row.
    QList<GaugeRing*> coreRings() const { return m_coreRings; }
    // Rings in each row, top to bottom.
    QList<int> coreRowSizes() const;
    GpuStrip* gpuStrip() const { return m_gpuStrip; }

private:
    QWidget* buildCores();
    void refresh();
    void refreshCoreRings();
    void rebuildCoreRings(qsizetype count);
    void refreshProcesses();

    const SystemStatsProvider& m_stats;
    const CpuDetailsMonitor& m_cpu;
    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    SteadyLabel* m_header;
    SparklineView* m_sparkline;
    SteadyLabel* m_user;
    SteadyLabel* m_system;
    SteadyLabel* m_efficiency = nullptr;
    SteadyLabel* m_performance = nullptr;
    QVBoxLayout* m_coreRows = nullptr;
    QList<GaugeRing*> m_coreRings;
    GpuStrip* m_gpuStrip;
    ProcessListSection* m_processes;
};

} // namespace pw::ui
