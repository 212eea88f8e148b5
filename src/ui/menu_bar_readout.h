#pragma once

#include <QColor>
#include <QIcon>
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

// The desktop's accent colour (the selection highlight of the application palette).
QColor platformAccentColor();

// What the readout shows.
struct ReadoutFigures {
    QList<double> cpuHistory; // CPU load, percent, oldest first
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

// The figures stand on a dark backing of their own, so they read the same on
// light, dark and coloured panels whatever colour the tray host paints.
QColor readoutBackingColor();
QColor readoutFigureColor();
QColor readoutSecondaryFigureColor();

// Trays that give a square (or nearly square) slot get the stacked layout.
bool isSquareReadout(QSizeF logicalSize);
// Whether a slot of this size has room for the temperature beside the CPU
// figure; smaller ones leave it to the tooltip.
bool readoutShowsTemperature(QSizeF logicalSize);

// Where the wide 70 × 22 layout puts its sparkline.
QRectF wideReadoutSparklineFrame();

// The square images a tray icon carries, each drawn for its own size: hosts
// that pick the size they show get a layout made for it. Some hosts take the
// largest image and scale it to their slot, so the largest is the common
// 22-pixel layout at twice the pixels rather than a layout for a large slot.
struct TrayIconVariant {
    int side;  // logical pixels
    qreal dpr; // device pixels per logical pixel
};
QList<TrayIconVariant> trayIconVariants();

enum class ReadoutLayers { All, WithoutFigures };

// Paints the readout into (0, 0, logicalSize): the wide layout (sparkline
// beside the CPU figure over the temperature) scaled to the size, or, for a
// square size, the CPU figure over the sparkline (with the temperature between
// them from 32 up). `WithoutFigures` leaves the text out and nothing else.
void paintMenuBarReadout(QPainter& painter, QSizeF logicalSize, const ReadoutFigures& figures,
                         const QColor& accent, ReadoutLayers layers = ReadoutLayers::All);

// The readout as an image of `logicalSize` at `dpr`, transparent outside its backing.
QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent, ReadoutLayers layers = ReadoutLayers::All);

// The same, drawn into an image kept per size: valid, and unshared, until the
// next call. For the one icon redrawn every second, which copies what it keeps.
const QImage& drawMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                                 const QColor& accent, ReadoutLayers layers = ReadoutLayers::All);

// One image per tray icon variant.
QList<QImage> renderTrayIconImages(const ReadoutFigures& figures, const QColor& accent);
QIcon trayIconFromImages(const QList<QImage>& images);

// The tooltip, which always carries both figures.
QString readoutToolTip(const ReadoutFigures& figures);

} // namespace pw::ui
