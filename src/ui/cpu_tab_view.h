#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace pw {
class SystemStatsProvider;
class ProcessMonitor;
class Preferences;
} // namespace pw

namespace pw::ui {

class GaugeRing;
class ProcessListSection;
class SparklineView;

// The popup's CPU tab: load history, user/system split, core rings and
// cluster loads, the busiest processes and the GPU strip.
class CPUTabView : public QWidget {
    Q_OBJECT

public:
    CPUTabView(SystemStatsProvider& stats, ProcessMonitor& processMonitor, Preferences& preferences,
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
    QString frameRateText() const;
    QList<GaugeRing*> gpuGauges() const { return m_gpuGauges; }

private:
    QWidget* buildCores();
    QWidget* buildGpuStrip();
    void refreshFigures();
    void refreshCoreRings();
    void rebuildCoreRings(qsizetype count);
    void refreshGpu();
    void refreshProcesses();

    SystemStatsProvider& m_stats;
    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    QLabel* m_header;
    SparklineView* m_sparkline;
    QLabel* m_user;
    QLabel* m_system;
    QLabel* m_efficiency = nullptr;
    QLabel* m_performance = nullptr;
    QVBoxLayout* m_coreRows = nullptr;
    QList<GaugeRing*> m_coreRings;
    QLabel* m_frameRate = nullptr;
    QList<GaugeRing*> m_gpuGauges;
    ProcessListSection* m_processes;
};

} // namespace pw::ui
