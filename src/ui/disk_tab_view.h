#pragma once

#include <QWidget>

class QLabel;

namespace pw {
class StorageMonitor;
class ProcessMonitor;
class Preferences;
struct StatsModels;
} // namespace pw

namespace pw::ui {

class GaugeRing;
class TrafficListSection;

// The popup's disk tab: the root volume's fill and free space, its read and
// write rates with their recent peaks, and the busiest processes' storage rates.
class DiskTabView : public QWidget {
    Q_OBJECT

public:
    DiskTabView(const StatsModels& models, ProcessMonitor& processMonitor, Preferences& preferences,
                QWidget* parent = nullptr);

    GaugeRing* ring() const { return m_ring; }
    QString volumeText() const;
    QString availableText() const;
    QString readRateText() const;
    QString writeRateText() const;
    QString readTotalText() const;
    QString writeTotalText() const;
    TrafficListSection* processes() const { return m_processes; }

    QString peaksCaptionText() const;
    // Wide enough for any figure a row can show at the rows' font, never below 30.
    static int figureColumnWidth();

private:
    QWidget* buildVolumeHeader();
    QWidget* buildRates();
    QWidget* buildBandAndTotals();
    void refresh();
    void refreshProcesses();

    const StorageMonitor& m_storage;
    ProcessMonitor& m_processMonitor;
    Preferences& m_preferences;
    GaugeRing* m_ring = nullptr;
    QLabel* m_volume = nullptr;
    QLabel* m_available = nullptr;
    QLabel* m_readRate = nullptr;
    QLabel* m_writeRate = nullptr;
    QLabel* m_readTotal = nullptr;
    QLabel* m_writeTotal = nullptr;
    QLabel* m_peaksCaption = nullptr;
    TrafficListSection* m_processes = nullptr;
};

} // namespace pw::ui
