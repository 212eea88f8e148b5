#include "ui/menu_bar_readout.h"

#include "services/system_stats_provider.h"
#include "ui/format/figure_format.h"
#include "ui/sparkline_raster.h"
#include "ui/sparkline_view.h"
#include "ui/text_styles.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>
#include <utility>

namespace pw::ui {
namespace {

constexpr double kWideWidth = 70.0;
constexpr double kWideHeight = 22.0;
// A square slot this size or larger has room for a second line of figures.
constexpr double kTemperatureSide = 32.0;
constexpr double kSparklineWidth = 1.5;

// Sized in pixels like the slot. The readout is drawn every second, so each
// font is made once: a kept QFont keeps the font engine it found, where a new
// one searches the font database again.
QFont figureFont(double pixelSize, QFont::Weight weight) {
    thread_local std::map<std::pair<int, int>, QFont> made;
    const std::pair<int, int> key{static_cast<int>(std::lround(pixelSize)), weight};
    if (const auto found = made.find(key); found != made.end())
        return found->second;
    QFont font = systemFont(pixelSize, weight, true);
    // Digits a few pixels tall need every stem on a whole pixel.
    font.setHintingPreference(QFont::PreferFullHinting);
    made.emplace(key, font);
    return font;
}

// A line of figures placed by the height of its digits: none of the figures
// has a descender, so the cap height is all the room a line takes.
struct FigureLine {
    QString text;
    QFont font;
    QColor color;
};

// Asked for every frame; the metrics object behind it is costly to make.
double capHeightOf(const QFont& font) {
    thread_local std::map<std::pair<int, int>, double> measured;
    const std::pair<int, int> key{font.pixelSize(), font.weight()};
    if (const auto found = measured.find(key); found != measured.end())
        return found->second;
    if (measured.size() >= 256)
        measured.clear();
    return measured.emplace(key, QFontMetricsF(font).capHeight()).first->second;
}

// Measuring shapes the text, and the figure changes every second. Digits are
// all as wide as each other in the figures' font (and in nearly every font's
// default figures), so "37%" is measured as "00%" and kept.
double advanceOf(const QFont& font, const QString& text) {
    QString shape = text;
    for (QChar& c : shape)
        if (c.isDigit())
            c = QLatin1Char('0');
    using Key = std::tuple<QString, int, int>;
    thread_local std::map<Key, double> measured;
    Key key{std::move(shape), font.pixelSize(), font.weight()};
    if (const auto found = measured.find(key); found != measured.end())
        return found->second;
    if (measured.size() >= 1024)
        measured.clear();
    const double advance = QFontMetricsF(font).horizontalAdvance(std::get<0>(key));
    measured.emplace(std::move(key), advance);
    return advance;
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

// The tray image is redrawn every second: into an image the line goes
// straight into the pixels, which costs a fraction of a stroke; on a widget
// it is stroked as everywhere else.
void drawSparkline(QPainter& painter, const QRectF& frame, const QList<double>& history,
                   const QColor& color) {
    auto* image = dynamic_cast<QImage*>(painter.device());
    const QTransform toDevice = painter.deviceTransform();
    if (!image || image->format() != QImage::Format_ARGB32_Premultiplied ||
        toDevice.type() > QTransform::TxScale) {
        paintSparkline(painter, frame, history, color);
        return;
    }
    rasterizeSparkline(*image, toDevice.mapRect(frame), history, color,
                       kSparklineWidth * toDevice.m22());
}

// Laying a figure out (shaping it) costs more than drawing it, and a readout
// shows few distinct strings: each is laid out once per font and scale.
void drawLine(QPainter& painter, const FigureLine& line, double x, double baseline) {
    struct LaidOut {
        QStaticText text;
        double ascent;
    };
    using Key = std::tuple<QString, int, int, double>;
    thread_local std::map<Key, LaidOut> laidOut;
    Key key{line.text, line.font.pixelSize(), line.font.weight(), painter.deviceTransform().m11()};
    auto found = laidOut.find(key);
    if (found == laidOut.end()) {
        if (laidOut.size() >= 1024)
            laidOut.clear();
        QStaticText text(line.text);
        text.setTextFormat(Qt::PlainText);
        found =
            laidOut.emplace(std::move(key), LaidOut{text, QFontMetricsF(line.font).ascent()}).first;
    }
    painter.setFont(line.font);
    painter.setPen(line.color);
    painter.drawStaticText(QPointF(x, baseline - found->second.ascent), found->second.text);
}

// The backing is the same in every frame of a size; an image made from a
// copy of it skips painting it again.
enum class Backing { Paint, AlreadyThere, Only };

// Where the readout's parts go, in the readout's own units (a 70 × 22 strip,
// or a square of its side): a painter, or the tray image.
class ReadoutTarget {
public:
    virtual ~ReadoutTarget() = default;
    virtual void backing(const QRectF& rect, double radius) = 0;
    virtual void sparkline(const QRectF& frame, const QList<double>& history) = 0;
    virtual void line(const FigureLine& line, double x, double baseline) = 0;
};

class PainterTarget final : public ReadoutTarget {
public:
    PainterTarget(QPainter& painter, const QColor& accent) : m_painter(painter), m_accent(accent) {}
    void backing(const QRectF& rect, double radius) override {
        paintBacking(m_painter, rect, radius);
    }
    void sparkline(const QRectF& frame, const QList<double>& history) override {
        drawSparkline(m_painter, frame, history, m_accent);
    }
    void line(const FigureLine& line, double x, double baseline) override {
        drawLine(m_painter, line, x, baseline);
    }

private:
    QPainter& m_painter;
    QColor m_accent;
};

void paintWide(ReadoutTarget& target, const ReadoutFigures& figures, ReadoutLayers layers,
               Backing backing) {
    if (backing != Backing::AlreadyThere)
        target.backing(QRectF(0, 0, kWideWidth, kWideHeight), 5.0);
    if (backing == Backing::Only)
        return;
    target.sparkline(wideReadoutSparklineFrame(), figures.cpuHistory);
    if (layers == ReadoutLayers::WithoutFigures)
        return;

    const FigureLine cpu{readoutTexts(figures).cpu, figureFont(9, QFont::Bold),
                         readoutFigureColor()};
    const FigureLine temperature{readoutTexts(figures).temperature, figureFont(8, QFont::Normal),
                                 readoutSecondaryFigureColor()};
    const double gap = 2.0;
    const double cpuHeight = capHeightOf(cpu.font);
    const double stack = cpuHeight + gap + capHeightOf(temperature.font);
    const double top = (kWideHeight - stack) / 2.0;
    const double left = wideReadoutSparklineFrame().right() + 4.0;
    target.line(cpu, left, top + cpuHeight);
    target.line(temperature, left, top + stack);
}

void paintSquare(ReadoutTarget& target, double side, const ReadoutFigures& figures,
                 ReadoutLayers layers, Backing backing) {
    if (backing != Backing::AlreadyThere)
        target.backing(QRectF(0, 0, side, side), std::max(2.0, side * 0.14));
    if (backing == Backing::Only)
        return;
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
            target.line(line, std::round((side - advanceOf(line.font, line.text)) / 2.0), baseline);
        y = baseline + (i + 1 < lines.size() ? lineGap : sparklineGap);
    }
    const QRectF frame(margin, y, side - 2.0 * margin, side - margin / 2.0 - y);
    if (frame.height() >= 2.0)
        target.sparkline(frame, figures.cpuHistory);
}

// From the readout's own units to the slot's logical pixels: a square readout
// is centred in the slot, a strip is stretched over it.
QTransform readoutTransform(QSizeF logicalSize) {
    if (isSquareReadout(logicalSize)) {
        const double side = std::min(logicalSize.width(), logicalSize.height());
        return QTransform::fromTranslate((logicalSize.width() - side) / 2.0,
                                         (logicalSize.height() - side) / 2.0);
    }
    return QTransform::fromScale(logicalSize.width() / kWideWidth,
                                 logicalSize.height() / kWideHeight);
}

void layoutReadout(ReadoutTarget& target, QSizeF logicalSize, const ReadoutFigures& figures,
                   ReadoutLayers layers, Backing backing) {
    if (isSquareReadout(logicalSize))
        paintSquare(target, std::min(logicalSize.width(), logicalSize.height()), figures, layers,
                    backing);
    else
        paintWide(target, figures, layers, backing);
}

void paintReadout(QPainter& painter, QSizeF logicalSize, const ReadoutFigures& figures,
                  const QColor& accent, ReadoutLayers layers, Backing backing) {
    if (logicalSize.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setWorldTransform(readoutTransform(logicalSize), true);
    PainterTarget target(painter, accent);
    layoutReadout(target, logicalSize, figures, layers, backing);
    painter.restore();
}

// Per size: the backing alone, made once, and the image each frame is painted
// in.
struct ReadoutCanvas {
    using Key = std::tuple<int, int, int, int, qreal>;
    Key key;
    QSizeF logicalSize;
    QImage backing;
    QImage canvas;
};

ReadoutCanvas& canvasFor(QSize logicalSize, QSize pixels, qreal dpr) {
    thread_local std::map<ReadoutCanvas::Key, ReadoutCanvas> made;
    const ReadoutCanvas::Key key{logicalSize.width(), logicalSize.height(), pixels.width(),
                                 pixels.height(), dpr};
    if (const auto found = made.find(key); found != made.end())
        return found->second;
    if (made.size() >= 32)
        made.clear();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    paintReadout(painter, QSizeF(logicalSize), {}, {}, ReadoutLayers::All, Backing::Only);
    painter.end();
    QImage canvas = image.copy();
    return made
        .emplace(key, ReadoutCanvas{key, QSizeF(logicalSize), std::move(image), std::move(canvas)})
        .first->second;
}

// A figure line drawn once over the backing, as the pixels it changed.
struct LineStamp {
    QPoint at;
    QImage pixels;
};

LineStamp makeStamp(const ReadoutCanvas& c, const FigureLine& line, double x, double baseline) {
    QImage drawn = c.backing.copy();
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setWorldTransform(readoutTransform(c.logicalSize));
    drawLine(painter, line, x, baseline);
    painter.end();
    QRect changed;
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* now = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const auto* before = reinterpret_cast<const QRgb*>(c.backing.constScanLine(y));
        for (int px = 0; px < drawn.width(); ++px)
            if (now[px] != before[px])
                changed |= QRect(px, y, 1, 1);
    }
    if (changed.isEmpty())
        return {};
    return {changed.topLeft(), drawn.copy(changed)};
}

// What a frame of one size draws over its backing, for one pair of figure
// texts: the stamps of its lines and where its sparkline goes, in order.
struct FrameStep {
    bool isSparkline = false;
    LineStamp stamp;
    QRectF sparkline;     // in device pixels
    double lineWidth = 0; // of the sparkline, in device pixels
};
using FramePlan = std::vector<FrameStep>;

// Only the pixels the text changed: lines close together keep each other's
// edges.
void copyStamp(const LineStamp& stamp, const QImage& backing, QImage& to) {
    const QImage& from = stamp.pixels;
    if (from.isNull() || !to.rect().contains(QRect(stamp.at, from.size())))
        return;
    for (int y = 0; y < from.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(from.constScanLine(y));
        const auto* plain =
            reinterpret_cast<const QRgb*>(backing.constScanLine(stamp.at.y() + y)) + stamp.at.x();
        auto* target = reinterpret_cast<QRgb*>(to.scanLine(stamp.at.y() + y)) + stamp.at.x();
        for (int x = 0; x < from.width(); ++x)
            if (source[x] != plain[x])
                target[x] = source[x];
    }
}

// The tray image, redrawn every second. Text is the dear part of a frame (a
// painter to set up, glyphs to place), and a readout shows few distinct
// figures, so each line is drawn once per size and its pixels are copied in
// from then on; the sparkline goes straight into the pixels. What it draws is
// written down in `plan`, so the next frame with the same texts skips the
// layout (fonts, metrics, lookups) and only replays it.
class ImageTarget final : public ReadoutTarget {
public:
    ImageTarget(ReadoutCanvas& c, qreal dpr, const QColor& accent, FramePlan& plan)
        : m_canvas(c),
          m_toDevice(readoutTransform(c.logicalSize) * QTransform::fromScale(dpr, dpr)),
          m_accent(accent), m_plan(plan) {}
    void backing(const QRectF&, double) override {} // already in the canvas
    void sparkline(const QRectF& frame, const QList<double>& history) override {
        const FrameStep step{
            true, {}, m_toDevice.mapRect(frame), kSparklineWidth * m_toDevice.m22()};
        rasterizeSparkline(m_canvas.canvas, step.sparkline, history, m_accent, step.lineWidth);
        m_plan.push_back(step);
    }
    void line(const FigureLine& line, double x, double baseline) override {
        using Key = std::tuple<ReadoutCanvas::Key, QString, int, int, QRgb, double, double>;
        thread_local std::map<Key, LineStamp> stamps;
        Key key{m_canvas.key,
                line.text,
                line.font.pixelSize(),
                line.font.weight(),
                line.color.rgba(),
                x,
                baseline};
        auto found = stamps.find(key);
        if (found == stamps.end()) {
            if (stamps.size() >= 512)
                stamps.clear();
            found = stamps.emplace(std::move(key), makeStamp(m_canvas, line, x, baseline)).first;
        }
        copyStamp(found->second, m_canvas.backing, m_canvas.canvas);
        m_plan.push_back({false, found->second, {}, 0.0});
    }

private:
    ReadoutCanvas& m_canvas;
    QTransform m_toDevice;
    QColor m_accent;
    FramePlan& m_plan;
};

void replay(const FramePlan& plan, ReadoutCanvas& c, const QList<double>& history,
            const QColor& accent) {
    for (const FrameStep& step : plan) {
        if (step.isSparkline)
            rasterizeSparkline(c.canvas, step.sparkline, history, accent, step.lineWidth);
        else
            copyStamp(step.stamp, c.backing, c.canvas);
    }
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
    paintReadout(painter, logicalSize, figures, accent, layers, Backing::Paint);
}

const QImage& drawMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                                 const QColor& accent, ReadoutLayers layers) {
    static const QImage none;
    if (logicalSize.isEmpty() || !(dpr > 0.0))
        return none;
    const QSize pixels(qMax(1, qRound(logicalSize.width() * dpr)),
                       qMax(1, qRound(logicalSize.height() * dpr)));
    ReadoutCanvas& c = canvasFor(logicalSize, pixels, dpr);
    std::memcpy(c.canvas.bits(), c.backing.constBits(), c.backing.sizeInBytes());
    // The layout depends on the size and the two texts alone.
    const ReadoutTexts texts = readoutTexts(figures);
    using Key = std::tuple<ReadoutCanvas::Key, QString, QString, int>;
    thread_local std::map<Key, FramePlan> plans;
    Key key{c.key, texts.cpu, texts.temperature, static_cast<int>(layers)};
    if (const auto found = plans.find(key); found != plans.end()) {
        replay(found->second, c, figures.cpuHistory, accent);
        return c.canvas;
    }
    if (plans.size() >= 512)
        plans.clear();
    FramePlan& plan = plans[std::move(key)];
    ImageTarget target(c, dpr, accent, plan);
    layoutReadout(target, QSizeF(logicalSize), figures, layers, Backing::AlreadyThere);
    return c.canvas;
}

QImage renderMenuBarReadout(const ReadoutFigures& figures, QSize logicalSize, qreal dpr,
                            const QColor& accent, ReadoutLayers layers) {
    // A copy goes out, so the kept canvas is never shared and stays ready.
    return drawMenuBarReadout(figures, logicalSize, dpr, accent, layers).copy();
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
