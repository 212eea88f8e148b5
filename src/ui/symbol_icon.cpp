#include "ui/symbol_icon.h"

#include "ui/symbols.h"

#include <QPainter>

namespace pw::ui {

SymbolIcon::SymbolIcon(const QString& symbol, const QColor& color, int pictureSize, QWidget* parent)
    : QWidget(parent), m_symbol(symbol), m_color(color), m_pictureSize(pictureSize) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolIcon::setSymbol(const QString& symbol) {
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void SymbolIcon::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize SymbolIcon::sizeHint() const {
    return {m_pictureSize, m_pictureSize};
}

void SymbolIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap picture = symbolPixmap(m_symbol, m_color, m_pictureSize, devicePixelRatioF());
    const QPointF origin((width() - m_pictureSize) / 2.0, (height() - m_pictureSize) / 2.0);
    painter.drawPixmap(origin, picture);
}

} // namespace pw::ui
