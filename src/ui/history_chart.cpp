#include "ui/history_chart.h"

#include "ui/dashboard_style.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace pw::ui {
using namespace dashboardStyle;

namespace {

constexpr double kAxisWidth = 56.0;

// `over` at `opacity` on `under`.
QColor blended(const QColor& under, const QColor& over, double opacity) {
    const auto mix = [opacity](float a, float b) {
        return static_cast<float>(a + (b - a) * opacity);
    };
    return QColor::fromRgbF(mix(under.redF(), over.redF()), mix(under.greenF(), over.greenF()),
                            mix(under.blueF(), over.blueF()));
}

// A card on the dashboard's detail background: white at 5 %, made opaque.
const QColor kCardColor = blended(detailBackground(), systemColor::white(), 0.05);
constexpr double kTimeAxisHeight = 16.0;

enum class TimeDetail { Clock, Seconds, Date };

QString timeText(double seconds, TimeDetail detail) {
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000.0));
    switch (detail) {
    case TimeDetail::Clock:
        return at.toString(QStringLiteral("HH:mm"));
    case TimeDetail::Seconds:
        return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case TimeDetail::Date:
        break;
    }
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// 1, 2 or 5 times a power of ten, at or above `value`.
double roundedUp(double value) {
    if (!(value > 0.0))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= value)
            return step * power;
    return 10.0 * power;
}

} // namespace

std::vector<QPolygonF> historyLineStretches(const HistorySeries& series, double rowSeconds,
                                            const std::function<QPointF(double, double)>& place) {
    std::vector<QPolygonF> stretches;
    const HistoryPoint* previous = nullptr;
    for (const HistoryPoint& p : series.points) {
        if (std::isnan(p.mean)) {
            previous = nullptr;
            continue;
        }
        if (!previous || isHistoryGap(*previous, p, rowSeconds))
            stretches.emplace_back();
        stretches.back() << place(p.timeSeconds, p.mean);
        previous = &p;
    }
    return stretches;
}

HistoryChart::HistoryChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumHeight(120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HistoryChart::setData(HistoryChartData data, std::vector<HistoryChartLine> lines) {
    m_data = std::move(data);
    m_lines = std::move(lines);
    m_scaleMaximum = scaleMaximum();
    if (m_hoverX >= 0.0)
        hoverAt(m_hoverX);
    update();
}

void HistoryChart::setPlaceholder(const QString& text) {
    m_placeholder = text;
    update();
}

QRectF HistoryChart::plotRect() const {
    return QRectF(rect()).adjusted(kAxisWidth, 8.0, -8.0, -kTimeAxisHeight - 4.0);
}

double HistoryChart::scaleMaximum() const {
    double highest = 0.0;
    for (const HistorySeries& s : m_data.series)
        for (const HistoryPoint& p : s.points)
            if (std::isfinite(p.high))
                highest = std::max(highest, p.high);
    return roundedUp(highest);
}

QPointF HistoryChart::place(double timeSeconds, double value) const {
    const QRectF plot = plotRect();
    const double span = std::max(m_data.toSeconds - m_data.fromSeconds, 1.0);
    const double x = plot.left() + (timeSeconds - m_data.fromSeconds) / span * plot.width();
    const double y = plot.bottom() - std::clamp(value / m_scaleMaximum, 0.0, 1.0) * plot.height();
    return {x, y};
}

void HistoryChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot = plotRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCardColor);
    painter.drawRoundedRect(QRectF(rect()), 10, 10);

    painter.setFont(textStyle::caption());
    painter.setPen(systemColor::secondaryLabel());
    const double top = m_scaleMaximum;
    const auto valueText = [this](double v) {
        return m_lines.empty() || !m_lines.front().valueText ? QString::number(v)
                                                             : m_lines.front().valueText(v);
    };
    const QRectF axis(0, plot.top() - 6, kAxisWidth - 6, 12);
    painter.drawText(axis, Qt::AlignRight | Qt::AlignVCenter, valueText(top));
    painter.drawText(axis.translated(0, plot.height()), Qt::AlignRight | Qt::AlignVCenter,
                     valueText(0.0));
    const QRectF times(plot.left(), plot.bottom() + 4, plot.width(), kTimeAxisHeight);
    // A day or more: both ends would read the same time of day.
    const TimeDetail ends =
        m_data.toSeconds - m_data.fromSeconds >= 24 * 3600.0 ? TimeDetail::Date : TimeDetail::Clock;
    painter.drawText(times, Qt::AlignLeft | Qt::AlignVCenter, timeText(m_data.fromSeconds, ends));
    painter.drawText(times, Qt::AlignRight | Qt::AlignVCenter, timeText(m_data.toSeconds, ends));
    painter.setPen(QPen(whiteAt(0.12), 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.topLeft(), plot.topRight());

    bool anyPoint = false;
    const auto placeFn = [this](double t, double v) { return place(t, v); };
    for (std::size_t i = 0; i < m_data.series.size() && i < m_lines.size(); ++i) {
        const HistorySeries& series = m_data.series[i];
        const QColor color = m_lines[i].color;
        // Each bucket's lowest to highest value, as a bar under the line.
        const double spacing = plotRect().width() / std::max<std::size_t>(series.points.size(), 1);
        QList<QLineF> band;
        band.reserve(static_cast<qsizetype>(series.points.size()));
        for (const HistoryPoint& p : series.points)
            if (std::isfinite(p.low) && std::isfinite(p.high) && p.high > p.low)
                band << QLineF(place(p.timeSeconds, p.low), place(p.timeSeconds, p.high));
        painter.setRenderHint(QPainter::Antialiasing, false);
        // Opaque: the raster engine blends a translucent pen pixel by pixel,
        // many times slower over a month of bars.
        painter.setPen(QPen(blended(kCardColor, color, 0.25), std::max(1.0, spacing), Qt::SolidLine,
                            Qt::FlatCap));
        painter.drawLines(band);
        painter.setRenderHint(QPainter::Antialiasing);
        // One pixel wide: a wider antialiased line over hundreds of turns
        // costs a hundred times more to draw.
        painter.setPen(QPen(color, 1.0));
        painter.setBrush(color);
        for (const QPolygonF& stretch : historyLineStretches(series, m_data.rowSeconds, placeFn)) {
            anyPoint = true;
            if (stretch.size() == 1)
                painter.drawEllipse(stretch.front(), 1.5, 1.5);
            else
                painter.drawPolyline(stretch);
        }
    }
    if (!anyPoint && !m_placeholder.isEmpty()) {
        painter.setPen(systemColor::secondaryLabel());
        painter.setFont(systemFont(13));
        painter.drawText(plot, Qt::AlignCenter, m_placeholder);
    }
    if (m_hoverX >= plot.left() && m_hoverX <= plot.right() && !m_hoverText.isEmpty()) {
        painter.setPen(QPen(whiteAt(0.4), 1));
        painter.drawLine(QPointF(m_hoverX, plot.top()), QPointF(m_hoverX, plot.bottom()));
        painter.setPen(systemColor::white());
        painter.setFont(textStyle::caption());
        painter.drawText(plot.adjusted(6, 4, -6, 0), Qt::AlignLeft | Qt::AlignTop, m_hoverText);
    }
}

void HistoryChart::hoverAt(double x) {
    m_hoverX = x;
    m_hoverText.clear();
    const QRectF plot = plotRect();
    if (x < plot.left() || x > plot.right() || m_data.series.empty())
        return;
    const double t = m_data.fromSeconds +
                     (x - plot.left()) / plot.width() * (m_data.toSeconds - m_data.fromSeconds);
    // The nearest point in time; none when the pointer is over a gap.
    const std::vector<HistoryPoint>& points = m_data.series.front().points;
    if (points.empty())
        return;
    auto it = std::lower_bound(points.begin(), points.end(), t,
                               [](const HistoryPoint& p, double v) { return p.timeSeconds < v; });
    if (it == points.end() ||
        (it != points.begin() && t - std::prev(it)->timeSeconds < it->timeSeconds - t))
        it = std::prev(it);
    const double bucketSeconds = std::max(
        m_data.rowSeconds, (m_data.toSeconds - m_data.fromSeconds) / std::max(plot.width(), 1.0));
    if (std::abs(it->timeSeconds - t) > 2.0 * bucketSeconds)
        return;
    const std::size_t index = static_cast<std::size_t>(it - points.begin());
    QStringList parts{timeText(it->timeSeconds,
                               m_data.rowSeconds < 60.0 ? TimeDetail::Seconds : TimeDetail::Date)};
    for (std::size_t i = 0; i < m_data.series.size() && i < m_lines.size(); ++i) {
        const HistoryPoint& p = m_data.series[i].points[index];
        const QString value = std::isnan(p.mean)     ? QStringLiteral("\u2014")
                              : m_lines[i].valueText ? m_lines[i].valueText(p.mean)
                                                     : QString::number(p.mean);
        parts << m_lines[i].label + QLatin1Char(' ') + value;
    }
    m_hoverText = parts.join(QStringLiteral("   "));
}

void HistoryChart::mouseMoveEvent(QMouseEvent* event) {
    hoverAt(event->position().x());
    update();
}

void HistoryChart::leaveEvent(QEvent*) {
    m_hoverX = -1.0;
    m_hoverText.clear();
    update();
}

} // namespace pw::ui
