#pragma once

#include <QWidget>

class QLabel;

namespace pw {
class SystemStatsProvider;
class ProcessMonitor;
class Preferences;
} // namespace pw

namespace pw::ui {

class SparklineView;
class TrafficListSection;

// The popup's network tab: live upload and download rates, a history chart
// (the CPU history: no network history is kept), placeholder addresses and
// the busiest processes with placeholder traffic columns.
class NetworkTabView : public QWidget {
    Q_OBJECT

public:
    NetworkTabView(SystemStatsProvider& stats, ProcessMonitor& processMonitor,
                   Preferences& preferences, QWidget* parent = nullptr);

    QString uploadText() const;
    QString downloadText() const;
    SparklineView* sparkline() const { return m_sparkline; }
    TrafficListSection* processes() const { return m_processes; }

private:
    QWidget* buildRates();
    QWidget* buildAddresses();
    void refreshFigures();
    void refreshProcesses();

    SystemStatsProvider& m_stats;
    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    QLabel* m_upload = nullptr;
    QLabel* m_download = nullptr;
    SparklineView* m_sparkline = nullptr;
    TrafficListSection* m_processes = nullptr;
};

} // namespace pw::ui
