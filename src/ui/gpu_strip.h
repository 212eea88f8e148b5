#pragma once

#include "ui/view_logic.h"

#include <QList>
#include <QWidget>

class QLabel;

namespace pw {
class GpuMonitor;
}

namespace pw::ui {

class ElidedLabel;
class GaugeRing;

// What the GPU strip's gauges show, left to right: busy, memory busy,
// temperature and VRAM share of the shown card. A gauge per entry.
QList<GaugeFigure> gpuGaugeFigures(const GpuMonitor& gpu);

// The busy gauge's tooltip: empty, unless the load counts only the processes
// this user may read.
QString gpuBusyToolTip(const GpuMonitor& gpu);

// The CPU tab's GPU strip: a header naming the card shown, with the display's
// refresh rate, over a row of round gauges; without a GPU the header says so
// and no gauge shows.
class GpuStrip : public QWidget {
    Q_OBJECT

public:
    explicit GpuStrip(const GpuMonitor& gpu, QWidget* parent = nullptr);

    // Takes the monitor's figures and the screen's rate as they are now.
    void refresh();

    // "Display 60 Hz", or "No GPU".
    QString headerText() const;
    bool gaugesShown() const;
    QString cardNameText() const;
    QList<GaugeRing*> gauges() const { return m_gauges; }

private:
    const GpuMonitor& m_gpu;
    QLabel* m_header;
    ElidedLabel* m_name;
    QWidget* m_gaugeRow;
    QList<GaugeRing*> m_gauges;
};

} // namespace pw::ui
