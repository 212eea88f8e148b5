#include "ui/rounded_card.h"

#include <QPainter>

namespace pw::ui {

RoundedCard::RoundedCard(const QColor& fill, qreal radius, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_radius(radius) {
    // A card is as tall as its content; spare height goes to the page's spacers.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

void RoundedCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(m_fill);
    p.drawRoundedRect(QRectF(rect()), m_radius, m_radius);
}

} // namespace pw::ui
