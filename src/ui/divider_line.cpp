#include "ui/divider_line.h"

#include <QPainter>

namespace pw::ui {

QColor DividerLine::defaultColor() {
    return QColor(255, 255, 255, 26);
}

DividerLine::DividerLine(Qt::Orientation orientation, QWidget* parent, const QColor& color,
                         int length)
    : QWidget(parent), m_orientation(orientation), m_color(color) {
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        if (length > 0)
            setFixedHeight(length);
    }
}

void DividerLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
}

} // namespace pw::ui
