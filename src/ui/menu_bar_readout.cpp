#include "ui/menu_bar_readout.h"

#include "services/system_stats_provider.h"
#include "ui/format/figure_format.h"
#include "ui/sparkline_view.h"
#include "ui/text_styles.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace pw::ui {
namespace {

constexpr double kWideWidth = 70.0;
constexpr double kWideHeight = 22.0;

// Sized in pixels like the slot: 9 and 8 pixels fit the two lines in 22.
QFont readoutFont(double pixelSize, QFont::Weight weight) {
    return systemFont(pixelSize, weight, true);
}

QColor secondaryOf(const QColor& foreground) {
    QColor secondary = foreground;
    secondary.setAlphaF(foreground.alphaF() * 0.6f);
    return secondary;
}

void paintWide(QPainter& painter, const ReadoutFigures& figures, const QColor& accent,
               const QColor& foreground) {
    paintSparkline(painter, wideReadoutSparklineFrame(), figures.history, accent);
    const ReadoutTexts texts = readoutTexts(figures);

    const QFont cpuFont = readoutFont(9, QFont::Bold);
    const QFont temperatureFont = readoutFont(8, QFont::Normal);
    const QFontMetricsF cpuMetrics(cpuFont);
    const QFontMetricsF temperatureMetrics(temperatureFont);
    const double left = wideReadoutSparklineFrame().right() + 4.0;
    const double width = kWideWidth - 4.0 - left;
    const double stackHeight = cpuMetrics.height() + temperatureMetrics.height();
    const double top = (kWideHeight - stackHeight) / 2.0;

    painter.setFont(cpuFont);
    painter.setPen(foreground);
    painter.drawText(QRectF(left, top, width + 4.0, cpuMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, texts.cpu);
    painter.setFont(temperatureFont);
    painter.setPen(secondaryOf(foreground));
    painter.drawText(
        QRectF(left, top + cpuMetrics.height(), width + 4.0, temperatureMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, texts.temperature);
}

void paintSquare(QPainter& painter, QSizeF size, const ReadoutFigures& figures,
                 const QColor& accent, const QColor& foreground) {
    const double w = size.width();
    const double h = size.height();
    const QString text = readoutTexts(figures).cpu;
    // Largest bold figure that fits the width and the upper half.
    double pixelSize = h * 0.5;
    QFont font = readoutFont(pixelSize, QFont::Bold);
    while (pixelSize > 4.0 && QFontMetricsF(font).horizontalAdvance(text) > w - 1.0) {
        pixelSize -= 1.0;
        font = readoutFont(pixelSize, QFont::Bold);
    }
    const QFontMetricsF metrics(font);
    const double textHeight = std::min(metrics.height(), h * 0.55);
    painter.setFont(font);
    painter.setPen(foreground);
    painter.drawText(QRectF(0, 0, w, textHeight), Qt::AlignCenter, text);

    const double margin = std::max(1.0, h * 0.06);
    const QRectF frame(margin, textHeight + margin, w - 2 * margin, h - textHeight - 2 * margin);
    paintSparkline(painter, frame, figures.history, accent);
}

} // namespace

ReadoutFigures readoutFigures(const SystemStatsProvider& stats) {
    return {stats.cpuHistory(), stats.cpuUsage(), stats.socTemperature()};
}

ReadoutTexts readoutTexts(const ReadoutFigures& figures) {
    return {percentText(figures.cpuUsage), fixedText(figures.socTemperature, 1, kDegreeSign)};
}

QString readoutToolTip(const ReadoutFigures& figures) {
    const ReadoutTexts texts = readoutTexts(figures);
    return QStringLiteral("Pulsewick: CPU ") + texts.cpu + QStringLiteral(", ") + texts.temperature;
}

QColor platformAccentColor() {
    return QGuiApplication::palette().color(QPalette::Highlight);
}
QColor platformForegroundColor() {
    return QGuiApplication::palette().color(QPalette::WindowText);
}

bool isSquareReadout(QSizeF logicalSize) {
    return logicalSize.width() < logicalSize.height() * 2.0;
}

QRectF wideReadoutSparklineFrame() {
    return {4.0, 3.0, 30.0, 16.0};
}

void paintMenuBarReadout(QPainter& painter, QSizeF logicalSize, const ReadoutFigures& figures,
                         const QColor& accent, const QColor& foreground) {
    if (logicalSize.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (isSquareReadout(logicalSize)) {
        paintSquare(painter, logicalSize, figures, accent, foreground);
    } else {
        painter.scale(logicalSize.width() / kWideWidth, logicalSize.height() / kWideHeight);
        paintWide(painter, figures, accent, foreground);
    }
    painter.restore();
}

QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent, const QColor& foreground) {
    if (logicalSize.isEmpty() || !(dpr > 0.0))
        return {};
    const QSize pixels(qMax(1, qRound(logicalSize.width() * dpr)),
                       qMax(1, qRound(logicalSize.height() * dpr)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    paintMenuBarReadout(painter, QSizeF(logicalSize), figures, accent, foreground);
    painter.end();
    return image;
}

QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent) {
    return renderMenuBarReadout(figures, logicalSize, dpr, accent, platformForegroundColor());
}

} // namespace pw::ui
