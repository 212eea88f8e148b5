#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace pw {
class SystemStatsProvider;
class ProcessMonitor;
class Preferences;
struct StatsModels;
} // namespace pw

namespace pw::ui {

class LegendItem;
class ProcessListSection;
class RingChart;

// The popup's memory tab: pressure and in-use rings, the legend, the busiest
// processes and swap use.
class MemoryTabView : public QWidget {
    Q_OBJECT

public:
    MemoryTabView(const StatsModels& models, ProcessMonitor& processMonitor,
                  Preferences& preferences, QWidget* parent = nullptr);

    RingChart* pressureRing() const { return m_pressure; }
    RingChart* memoryRing() const { return m_memory; }
    QList<LegendItem*> legend() const { return m_legend; }
    ProcessListSection* processes() const { return m_processes; }
    QString swapText() const;
    double swapBarFraction() const;

private:
    void refresh();
    void refreshProcesses();

    const SystemStatsProvider& m_stats;
    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    RingChart* m_pressure;
    RingChart* m_memory;
    QList<LegendItem*> m_legend;
    ProcessListSection* m_processes;
    QLabel* m_swapText;
    QProgressBar* m_swapBar;
};

} // namespace pw::ui
