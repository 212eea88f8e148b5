#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;

namespace pw {
class SystemStatsProvider;
}

namespace pw::ui {

// What the readout shows.
struct ReadoutFigures {
    QList<double> history; // CPU load, percent, oldest first
    double cpuUsage = 0.0;
    std::optional<double> socTemperature; // empty without a matching sensor
};
ReadoutFigures readoutFigures(const SystemStatsProvider& stats);

// The two figures as drawn: "37%" and "45.3°" (the dash without a temperature).
struct ReadoutTexts {
    QString cpu;
    QString temperature;
};
ReadoutTexts readoutTexts(const ReadoutFigures& figures);
// "Pulsewick: CPU 37%, 45.3°", for the tray entry's tooltip.
QString readoutToolTip(const ReadoutFigures& figures);

// The desktop's accent colour (the selection highlight of the application palette).
QColor platformAccentColor();
// The desktop's default foreground colour for the tray.
QColor platformForegroundColor();

// Trays that give a square (or nearly square) slot get the stacked layout.
bool isSquareReadout(QSizeF logicalSize);

// Where the wide 70 × 22 layout puts its sparkline.
QRectF wideReadoutSparklineFrame();

// Paints the readout into (0, 0, logicalSize): the wide layout (sparkline
// beside the CPU figure over the temperature) scaled to the size, or, for a
// square size, the CPU figure over the sparkline.
void paintMenuBarReadout(QPainter& painter, QSizeF logicalSize, const ReadoutFigures& figures,
                         const QColor& accent, const QColor& foreground);

// The readout as a transparent image of `logicalSize` at `dpr`, in the
// desktop's foreground colour.
QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent);
QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent, const QColor& foreground);

} // namespace pw::ui
