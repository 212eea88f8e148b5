#include "ui/gauge_ring.h"

#include "ui/kept_pixels.h"
#include "ui/ring_raster.h"

#include <QPainter>

namespace pw::ui {

GaugeRing::GaugeRing(int diameter, const RingStyle& style, QWidget* parent)
    : QWidget(parent), m_style(style) {
    setFixedSize(diameter, diameter);
}

void GaugeRing::setFraction(double fraction) {
    if (fraction == m_fraction)
        return;
    m_fraction = fraction;
    update();
}

void GaugeRing::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void GaugeRing::setText(const QString& text, const QFont& font) {
    if (text == m_text && font == m_font)
        return;
    m_text = text;
    m_font = font;
    update();
}

void GaugeRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal scale = devicePixelRatioF();
    RingStyle pixelStyle = m_style;
    pixelStyle.lineWidth *= scale;
    const QRectF pixels(QPointF(0, 0), QSizeF(size()) * scale);
    if (ringRasterizable(pixels, pixelStyle)) {
        // Repainted every second while shown: drawn into kept pixels rather
        // than stroked (see rasterizeRing).
        QImage& image = clearedPixelsFor(*this, m_pixels);
        rasterizeRing(image, pixels, m_fraction, m_color, pixelStyle);
        painter.drawImage(QPointF(0, 0), image);
    } else {
        paintRing(painter, QRectF(rect()), m_fraction, m_color, m_style);
    }
    if (m_text.isEmpty())
        return;
    painter.setFont(m_font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace pw::ui
