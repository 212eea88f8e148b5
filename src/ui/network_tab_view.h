#pragma once

#include <QWidget>

class QLabel;

namespace pw {
class NetworkDetailsMonitor;
class SystemStatsProvider;
class ProcessMonitor;
class Preferences;
struct StatsModels;
} // namespace pw

namespace pw::ui {

class SparklineView;
class SymbolIcon;
class TrafficListSection;

// The popup's network tab: live upload and download rates, the download
// history, the default route's interface and local address, and the busiest
// processes (per-process traffic is not measured: those columns show "—").
class NetworkTabView : public QWidget {
    Q_OBJECT

public:
    NetworkTabView(const StatsModels& models, ProcessMonitor& processMonitor,
                   Preferences& preferences, QWidget* parent = nullptr);

    QString uploadText() const;
    QString downloadText() const;
    SparklineView* sparkline() const { return m_sparkline; }
    SymbolIcon* interfaceSymbol() const { return m_interfaceSymbol; }
    QString interfaceText() const;
    QString publicAddressText() const;
    QString localAddressText() const;
    TrafficListSection* processes() const { return m_processes; }

private:
    QWidget* buildRates();
    QWidget* buildAddresses();
    void refresh();
    void refreshProcesses();

    const SystemStatsProvider& m_stats;
    const NetworkDetailsMonitor& m_network;
    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    QLabel* m_upload = nullptr;
    QLabel* m_download = nullptr;
    SparklineView* m_sparkline = nullptr;
    SymbolIcon* m_interfaceSymbol = nullptr;
    QLabel* m_interface = nullptr;
    QLabel* m_publicAddress = nullptr;
    QLabel* m_localAddress = nullptr;
    TrafficListSection* m_processes = nullptr;
};

} // namespace pw::ui
