#include "ui/sidebar_button.h"

#include "services/system_colors.h"
#include "ui/symbols.h"

#include <QPainter>

namespace pw::ui {

SidebarButton::SidebarButton(const QString& symbolName, const QString& title, QWidget* parent)
    : QAbstractButton(parent), m_symbol(symbolName), m_title(title) {
    setFixedSize(40, 40);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(title);
}

void SidebarButton::setHighlighted(bool highlighted) {
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

void SidebarButton::setFixedColors(const QColor& symbol, const QColor& background) {
    m_fixedColors = true;
    m_symbolColor = symbol;
    m_backgroundColor = background;
    update();
}

void SidebarButton::paintEvent(QPaintEvent*) {
    QColor symbol = m_symbolColor;
    QColor background = m_backgroundColor;
    if (!m_fixedColors) {
        symbol = systemColor::white();
        if (m_highlighted) {
            background = systemColor::blue();
        } else {
            symbol.setAlphaF(0.5f);
            background = Qt::transparent;
        }
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(rect()), 10, 10);
    const QPixmap pm = symbolPixmap(m_symbol, symbol, 20, devicePixelRatioF());
    p.drawPixmap(QPointF((width() - 20) / 2.0, (height() - 20) / 2.0), pm);
}

} // namespace pw::ui
