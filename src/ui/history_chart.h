#pragma once

#include "services/history/history_query.h"

#include <QColor>
#include <QPolygonF>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace pw::ui {

// How one series of the chart looks and reads.
struct HistoryChartLine {
    QString label;
    QColor color;
    std::function<QString(double)> valueText;
};

// Where the points of one series go on the chart: one polyline per stretch of
// known values; a gap in the rows or an unknown value ends a stretch.
std::vector<QPolygonF> historyLineStretches(const HistorySeries& series, double rowSeconds,
                                            const std::function<QPointF(double, double)>& place);

// The stored figures over a range: a line per series over the band between
// each bucket's minimum and maximum, the scale from zero to the highest value,
// and the time and values under the pointer.
class HistoryChart : public QWidget {
    Q_OBJECT
public:
    explicit HistoryChart(QWidget* parent = nullptr);

    void setData(HistoryChartData data, std::vector<HistoryChartLine> lines);
    // What the chart says when it has no points ("Loading…", "No history yet").
    void setPlaceholder(const QString& text);
    const HistoryChartData& data() const { return m_data; }
    // The time and values under the pointer; empty when it is outside.
    QString hoverText() const { return m_hoverText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRectF plotRect() const;
    double scaleMaximum() const;
    QPointF place(double timeSeconds, double value) const;
    void hoverAt(double x);

    HistoryChartData m_data;
    std::vector<HistoryChartLine> m_lines;
    double m_scaleMaximum = 1.0; // the top of the value axis
    QString m_placeholder;
    double m_hoverX = -1.0;
    QString m_hoverText;
};

} // namespace pw::ui
