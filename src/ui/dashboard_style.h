#pragma once

#include "services/system_colors.h"
#include "ui/text_styles.h"

#include <QColor>
#include <QLabel>
#include <QPalette>

namespace pw::ui::dashboardStyle {

// The two text styles the dashboard needs beyond the shared ones.
inline QFont largeTitle() {
    return systemFont(26, QFont::Bold);
}
inline QFont subheadline() {
    return systemFont(11);
}

inline QColor sidebarBackground() {
    return QColor::fromRgbF(0.1f, 0.15f, 0.25f);
}
inline QColor detailBackground() {
    return QColor::fromRgbF(0.12f, 0.14f, 0.2f);
}
inline QColor sensorCardBackground() {
    return QColor::fromRgbF(0.15f, 0.18f, 0.3f);
}

// `base` at `opacity` (0..1), for the translucent card and track fills.
inline QColor withOpacity(QColor base, double opacity) {
    base.setAlphaF(static_cast<float>(opacity));
    return base;
}
inline QColor whiteAt(double opacity) {
    return withOpacity(systemColor::white(), opacity);
}

// A plain label in one font and colour; the dashboard's texts never wrap unless asked.
inline QLabel* makeLabel(const QString& text, const QFont& font,
                         const QColor& color = systemColor::primaryLabel(),
                         QWidget* parent = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    // Some texts come from the machine; none of them is markup.
    label->setTextFormat(Qt::PlainText);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
    return label;
}

// The default inner padding of cards.
inline constexpr int kCardPadding = 14;

} // namespace pw::ui::dashboardStyle
