#include "ui/sparkline_view.h"

#include "ui/kept_pixels.h"
#include "ui/sparkline_raster.h"

#include <QPainter>

namespace pw::ui {

namespace {
constexpr double kLineWidth = 1.5;
} // namespace

void paintSparkline(QPainter& painter, const QRectF& frame, const QList<double>& data,
                    const QColor& color, double scaleMaximum) {
    const QPolygonF points = sparklinePoints(data, frame.size(), scaleMaximum);
    if (points.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(frame.topLeft());
    painter.setPen(QPen(color, kLineWidth));
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

// Repainted every second while shown. Qt strokes a line this long in
// several pieces on its thread pool, which costs more than the line itself:
// it is drawn into kept pixels instead, as the tray's is.
void SparklineView::paintEvent(QPaintEvent*) {
    QImage& image = clearedPixelsFor(*this, m_pixels);
    rasterizeSparkline(image, QRectF(QPointF(0, 0), QSizeF(image.size())), m_data, m_color,
                       kLineWidth * image.devicePixelRatio(), m_scaleMaximum);
    QPainter(this).drawImage(QPointF(0, 0), image);
}

} // namespace pw::ui
