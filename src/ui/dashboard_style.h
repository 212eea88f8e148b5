#pragma once

#include "services/system_colors.h"
#include "ui/text_styles.h"

#include <QColor>

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

// The default inner padding of cards.
inline constexpr int kCardPadding = 14;

} // namespace pw::ui::dashboardStyle
