#include "ui/process_icon.h"

#include "ui/symbols.h"

#include <QPainter>

namespace pw::ui {

ProcessIcon::ProcessIcon(const QString& symbol, const QColor& color, QWidget* parent)
    : QWidget(parent), m_symbol(symbol), m_color(color) {
    setFixedSize(20, 20);
}

// Rows are given their programs again every two seconds; the same look is
// not painted again.
void ProcessIcon::setImage(const QIcon& image) {
    if (image.cacheKey() == m_image.cacheKey())
        return;
    m_image = image;
    update();
}

void ProcessIcon::setSymbol(const QString& symbol) {
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void ProcessIcon::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ProcessIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_image.isNull()) {
        m_image.paint(&painter, QRect(2, 2, 16, 16), Qt::AlignCenter);
        return;
    }
    const QPixmap symbol = symbolPixmap(m_symbol, m_color, 16, devicePixelRatioF());
    painter.drawPixmap(QPointF(2, 2), symbol);
}

} // namespace pw::ui
