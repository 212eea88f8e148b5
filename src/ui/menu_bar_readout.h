#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>

class QPainter;

namespace pw::ui {

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
void paintMenuBarReadout(QPainter& painter, QSizeF logicalSize, const QList<double>& history,
                         double cpuUsage, double socTemperature, const QColor& accent,
                         const QColor& foreground);

// The readout as a transparent image of `logicalSize` at `dpr`, in the
// desktop's foreground colour.
QImage renderMenuBarReadout(const QList<double>& history, double cpuUsage, double socTemperature,
                            QSize logicalSize, qreal dpr, const QColor& accent);
QImage renderMenuBarReadout(const QList<double>& history, double cpuUsage, double socTemperature,
                            QSize logicalSize, qreal dpr, const QColor& accent,
                            const QColor& foreground);

} // namespace pw::ui
