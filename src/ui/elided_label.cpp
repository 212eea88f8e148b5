#include "ui/elided_label.h"

#include "services/terminal_text.h"

#include <QPainter>

namespace pw::ui {

ElidedLabel::ElidedLabel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    // Names come from the machine: a line break or control character there is
    // shown escaped (\x0a) rather than starting a second line or being drawn
    // as whatever the font makes of it. U+009C would also split the text into
    // elision variants.
    m_singleLine = terminalSafe(text);
    updateGeometry();
    update();
}

void ElidedLabel::setElideMode(Qt::TextElideMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    update();
}

void ElidedLabel::setTextColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

QString ElidedLabel::displayedText() const {
    return fontMetrics().elidedText(m_singleLine, m_mode, width());
}

QSize ElidedLabel::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(m_singleLine), fm.height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QChar(0x2026)), fm.height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     displayedText());
}

} // namespace pw::ui
