#pragma once

#include <QWidget>

namespace pw {
class ProcessMonitor;
class Preferences;
} // namespace pw

namespace pw::ui {

class TrafficListSection;

// The popup's disk tab. No storage figure is sampled yet: the volume, rates
// and per-process columns are placeholders; only the process list is live.
class DiskTabView : public QWidget {
    Q_OBJECT

public:
    DiskTabView(ProcessMonitor& processMonitor, Preferences& preferences,
                QWidget* parent = nullptr);

    TrafficListSection* processes() const { return m_processes; }

    // Wide enough for the widest placeholder figure at the figure font, never below 30.
    static int figureColumnWidth();

private:
    QWidget* buildVolumeHeader();
    QWidget* buildRates();
    QWidget* buildBandAndTotals();
    void refreshProcesses();

    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    TrafficListSection* m_processes = nullptr;
};

} // namespace pw::ui
