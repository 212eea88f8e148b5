#pragma once

#include <QList>
#include <QWidget>

class QLabel;

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
    QList<GaugeRing*> coreRings() const { return m_coreRings; }

private:
    QWidget* buildCores();
    QWidget* buildGpuStrip();
    void refreshFigures();
    void refreshCoreRings();
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
    QList<GaugeRing*> m_coreRings;
    ProcessListSection* m_processes;
};

} // namespace pw::ui
