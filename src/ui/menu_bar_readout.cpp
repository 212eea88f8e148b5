#include "ui/menu_bar_readout.h"

#include "ui/sparkline_view.h"
#include "ui/text_styles.h"
#include "services/system_stats_provider.h"
#include "ui/format/figure_format.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

#include <algorithm>

namespace pw::ui {
namespace {

constexpr double kWideWidth = 70.0;
constexpr double kWideHeight = 22.0;
// A square slot this size or larger has room for a second line of figures.
constexpr double kTemperatureSide = 32.0;

// Sized in pixels like the slot.
QFont figureFont(double pixelSize, QFont::Weight weight) {
    QFont font = systemFont(pixelSize, weight, true);
    // Digits a few pixels tall need every stem on a whole pixel.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A line of figures placed by the height of its digits: none of the figures
// has a descender, so the cap height is all the room a line takes.
struct FigureLine {
    QString text;
    QFont font;
    QColor color;
};

double capHeightOf(const QFont& font) {
    return QFontMetricsF(font).capHeight();
}

double advanceOf(const QFont& font, const QString& text) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

// The largest bold font, from `largest` pixels down, in which `text` fits `width`.
QFont fittingFont(const QString& text, double width, double largest, QFont::Weight weight) {
    double pixelSize = std::max(1.0, std::floor(largest));
    QFont font = figureFont(pixelSize, weight);
    while (pixelSize > 4.0 && advanceOf(font, text) > width) {
        pixelSize -= 1.0;
        font = figureFont(pixelSize, weight);
    }
    return font;
}

// The CPU figure for a square slot: with its percent sign when that still
// leaves digits at least `minimum` pixels high; otherwise the bare number (the
// tooltip carries the full figure).
QFont squareCpuFont(QString& text, double width, double largest, double minimum) {
    QFont font = fittingFont(text, width, largest, QFont::Bold);
    if (font.pixelSize() >= minimum || !text.endsWith(QLatin1Char('%')))
        return font;
    text.chop(1);
    return fittingFont(text, width, largest, QFont::Bold);
}

void paintBacking(QPainter& painter, const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, readoutBackingColor());
}

void drawLine(QPainter& painter, const FigureLine& line, double x, double baseline) {
    painter.setFont(line.font);
    painter.setPen(line.color);
    painter.drawText(QPointF(x, baseline), line.text);
}

void paintWide(QPainter& painter, const ReadoutFigures& figures, const QColor& accent,
               ReadoutLayers layers) {
    paintBacking(painter, QRectF(0, 0, kWideWidth, kWideHeight), 5.0);
    paintSparkline(painter, wideReadoutSparklineFrame(), figures.cpuHistory, accent);
    if (layers == ReadoutLayers::WithoutFigures)
        return;

    const FigureLine cpu{readoutTexts(figures).cpu, figureFont(9, QFont::Bold),
                         readoutFigureColor()};
    const FigureLine temperature{readoutTexts(figures).temperature,
                                 figureFont(8, QFont::Normal), readoutSecondaryFigureColor()};
    const double gap = 2.0;
    const double cpuHeight = capHeightOf(cpu.font);
    const double stack = cpuHeight + gap + capHeightOf(temperature.font);
    const double top = (kWideHeight - stack) / 2.0;
    const double left = wideReadoutSparklineFrame().right() + 4.0;
    drawLine(painter, cpu, left, top + cpuHeight);
    drawLine(painter, temperature, left, top + stack);
}

void paintSquare(QPainter& painter, double side, const ReadoutFigures& figures,
                 const QColor& accent, ReadoutLayers layers) {
    paintBacking(painter, QRectF(0, 0, side, side), std::max(2.0, side * 0.14));
    // Figures keep a few pixels of plain backing around them at every size:
    // neither the panel at the rounded corners nor the sparkline comes closer.
    const double margin = std::max(2.0, std::floor(side * 0.1));
    const double lineGap = std::max(2.0, std::round(side * 0.07));
    const double sparklineGap = std::max(3.0, std::round(side * 0.1));
    const double width = side - 2.0 * margin;

    QList<FigureLine> lines;
    QString cpuText = readoutTexts(figures).cpu;
    if (readoutShowsTemperature({side, side})) {
        lines << FigureLine{cpuText, fittingFont(cpuText, width, side * 0.38, QFont::Bold),
                            readoutFigureColor()};
        const QString temperature = readoutTexts(figures).temperature;
        lines << FigureLine{temperature,
                            fittingFont(temperature, width, side * 0.32, QFont::DemiBold),
                            readoutSecondaryFigureColor()};
    } else {
        const QFont font = squareCpuFont(cpuText, width, side * 0.62, std::max(9.0, side * 0.4));
        lines << FigureLine{cpuText, font, readoutFigureColor()};
    }

    double y = margin;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const FigureLine& line = lines[i];
        const double baseline = std::round(y + capHeightOf(line.font));
        if (layers == ReadoutLayers::All)
            drawLine(painter, line, std::round((side - advanceOf(line.font, line.text)) / 2.0),
                     baseline);
        y = baseline + (i + 1 < lines.size() ? lineGap : sparklineGap);
    }
    const QRectF frame(margin, y, side - 2.0 * margin, side - margin / 2.0 - y);
    if (frame.height() >= 2.0)
        paintSparkline(painter, frame, figures.cpuHistory, accent);
}

} // namespace

QColor platformAccentColor() {
    return QGuiApplication::palette().color(QPalette::Highlight);
}

QColor readoutBackingColor() {
    return QColor(24, 24, 24);
}
QColor readoutFigureColor() {
    return QColor(255, 255, 255);
}
QColor readoutSecondaryFigureColor() {
    return QColor(196, 196, 196);
}

bool isSquareReadout(QSizeF logicalSize) {
    return logicalSize.width() < logicalSize.height() * 2.0;
}

bool readoutShowsTemperature(QSizeF logicalSize) {
    return !isSquareReadout(logicalSize) ||
           std::min(logicalSize.width(), logicalSize.height()) >= kTemperatureSide;
}

QRectF wideReadoutSparklineFrame() {
    return {4.0, 3.0, 30.0, 16.0};
}

QList<TrayIconVariant> trayIconVariants() {
    return {{16, 1.0}, {22, 1.0}, {24, 1.0}, {32, 1.0}, {22, 2.0}};
}

void paintMenuBarReadout(QPainter& painter, QSizeF logicalSize, const ReadoutFigures& figures,
                         const QColor& accent, ReadoutLayers layers) {
    if (logicalSize.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (isSquareReadout(logicalSize)) {
        const double side = std::min(logicalSize.width(), logicalSize.height());
        painter.translate((logicalSize.width() - side) / 2.0, (logicalSize.height() - side) / 2.0);
        paintSquare(painter, side, figures, accent, layers);
    } else {
        painter.scale(logicalSize.width() / kWideWidth, logicalSize.height() / kWideHeight);
        paintWide(painter, figures, accent, layers);
    }
    painter.restore();
}

QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent, ReadoutLayers layers) {
    if (logicalSize.isEmpty() || !(dpr > 0.0))
        return {};
    const QSize pixels(qMax(1, qRound(logicalSize.width() * dpr)),
                       qMax(1, qRound(logicalSize.height() * dpr)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    paintMenuBarReadout(painter, QSizeF(logicalSize), figures, accent, layers);
    painter.end();
    return image;
}

QList<QImage> renderTrayIconImages(const ReadoutFigures& figures, const QColor& accent) {
    QList<QImage> images;
    for (const TrayIconVariant& variant : trayIconVariants())
        images << renderMenuBarReadout(figures, QSize(variant.side, variant.side), variant.dpr,
                                       accent);
    return images;
}

QIcon trayIconFromImages(const QList<QImage>& images) {
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

ReadoutFigures readoutFigures(const SystemStatsProvider& stats) {
    return {stats.cpuHistory(), stats.cpuUsage(), stats.socTemperature()};
}

ReadoutTexts readoutTexts(const ReadoutFigures& figures) {
    return {percentText(figures.cpuUsage), fixedText(figures.socTemperature, 1, kDegreeSign)};
}

QString readoutToolTip(const ReadoutFigures& figures) {
    return QStringLiteral("Pulsewick: CPU %1, %2")
        .arg(readoutTexts(figures).cpu, readoutTexts(figures).temperature);
}

} // namespace pw::ui
