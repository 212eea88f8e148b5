#include "ui/sparkline_view.h"

#include <QPainter>

namespace pw::ui {

void paintSparkline(QPainter& painter, const QRectF& frame, const QList<double>& data,
                    const QColor& color, double scaleMaximum) {
    const QPolygonF points = sparklinePoints(data, frame.size(), scaleMaximum);
    if (points.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(frame.topLeft());
    painter.setPen(QPen(color, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points);
    painter.restore();
}

SparklineView::SparklineView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SparklineView::setData(QList<double> data) {
    if (data == m_data)
        return;
    m_data = std::move(data);
    update();
}

void SparklineView::setColor(QColor color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void SparklineView::setScaleMaximum(double maximum) {
    if (maximum == m_scaleMaximum)
        return;
    m_scaleMaximum = maximum;
    update();
}

void SparklineView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSparkline(painter, QRectF(rect()), m_data, m_color, m_scaleMaximum);
}

} // namespace pw::ui
