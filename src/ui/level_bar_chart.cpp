#include "ui/level_bar_chart.h"

#include "ui/settings_logic.h"

#include <QPainter>

namespace pw::ui {

LevelBarChart::LevelBarChart(QWidget* parent) : QWidget(parent) {
    setFixedHeight(8);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LevelBarChart::setLevel(double percent, const QColor& fillColor) {
    if (percent == m_percent && fillColor == m_fillColor)
        return;
    m_percent = percent;
    m_fillColor = fillColor;
    update();
}

double LevelBarChart::fillWidth() const {
    return barFillWidth(width(), m_percent);
}

void LevelBarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 26));
    p.drawRoundedRect(QRectF(rect()), 4, 4);
    const double w = fillWidth();
    if (w <= 0.0)
        return;
    p.setBrush(m_fillColor);
    p.drawRoundedRect(QRectF(0, 0, w, height()), qMin(4.0, w / 2), 4);
}

} // namespace pw::ui
