#include "ui/steady_label.h"

#include <QEvent>

#include <algorithm>

namespace pw::ui {
namespace {
// Percentages and clock readings repeat; a few hundred texts cover them.
constexpr qsizetype kRememberedTexts = 256;
} // namespace

SteadyLabel::SteadyLabel(const QFont& font, Qt::Alignment alignment, QWidget* parent)
    : QLabel(parent) {
    // Figures come from the machine; none of them is markup.
    setTextFormat(Qt::PlainText);
    setFont(font);
    setAlignment(alignment);
}

void SteadyLabel::setSteadyText(const QString& text) {
    if (text == this->text())
        return;
    setText(text);
    auto known = m_needed.constFind(text);
    if (known == m_needed.cend()) {
        if (m_needed.size() >= kRememberedTexts)
            m_needed.clear();
        known = m_needed.insert(text, sizeHint());
    }
    const QSize needed = *known;
    const bool fixed = minimumSize() == maximumSize();
    const QSize kept = minimumSize();
    if (fixed && needed.width() <= kept.width() && needed.height() == kept.height())
        return;
    setFixedSize(std::max(needed.width(), fixed ? kept.width() : 0), needed.height());
}

void SteadyLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        // Sizes measured in the old font no longer hold: measure afresh.
        m_needed.clear();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    QLabel::changeEvent(event);
}

} // namespace pw::ui
