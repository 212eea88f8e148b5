#include "ui/gauge_ring.h"

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
    m_text = text;
    m_font = font;
    update();
}

void GaugeRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintRing(painter, QRectF(rect()), m_fraction, m_color, m_style);
    if (m_text.isEmpty())
        return;
    painter.setFont(m_font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace pw::ui
