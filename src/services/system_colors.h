#pragma once

#include <QColor>

namespace pw::systemColor {

// The desktop's named colours in their dark-appearance variants. Every view and
// theme takes its colours from here so the palette stays in one place.
inline QColor blue() {
    return QColor(10, 132, 255);
}
inline QColor pink() {
    return QColor(255, 55, 95);
}
inline QColor yellow() {
    return QColor(255, 214, 10);
}
inline QColor gray() {
    return QColor(152, 152, 157);
}
inline QColor purple() {
    return QColor(191, 90, 242);
}
inline QColor orange() {
    return QColor(255, 159, 10);
}
inline QColor red() {
    return QColor(255, 69, 58);
}
inline QColor green() {
    return QColor(48, 209, 88);
}
inline QColor white() {
    return QColor(255, 255, 255);
}
inline QColor black() {
    return QColor(0, 0, 0);
}
inline QColor primaryLabel() {
    return QColor(255, 255, 255);
}
inline QColor secondaryLabel() {
    return QColor(235, 235, 245, 153);
} // 60 % opacity

} // namespace pw::systemColor
