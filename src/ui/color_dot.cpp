#include "ui/color_dot.h"

#include <QPainter>

namespace pw::ui {

ColorDot::ColorDot(const QColor& color, int diameter, QWidget* parent)
    : QWidget(parent), m_color(color) {
    setFixedSize(diameter, diameter);
}

void ColorDot::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ColorDot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawEllipse(QRectF(rect()));
}

} // namespace pw::ui
