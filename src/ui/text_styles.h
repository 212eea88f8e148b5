#pragma once

#include <QFont>
#include <QFontDatabase>

#include <cmath>

namespace pw::ui {

// The views' sizes are in points of the design, one point per logical pixel,
// like every frame in them (the popup is 320 × 620 of the same units). Fonts
// are sized in logical pixels too, so text keeps its proportion to the frames
// whatever the desktop's font DPI; HiDPI scaling still applies.
inline QFont systemFont(double pt, QFont::Weight weight = QFont::Normal, bool monospaced = false) {
    QFont font = QFontDatabase::systemFont(monospaced ? QFontDatabase::FixedFont
                                                      : QFontDatabase::GeneralFont);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pt))));
    font.setWeight(weight);
    return font;
}

// "Rounded design" has no system counterpart on Linux; it falls back to the
// plain system font.
inline QFont roundedFont(double pt, QFont::Weight weight = QFont::Normal) {
    return systemFont(pt, weight, false);
}

// Named text styles shared by every view, so sizes stay consistent.
namespace textStyle {
inline QFont caption() {
    return systemFont(10);
}
inline QFont caption2() {
    return systemFont(9);
}
inline QFont headline() {
    return systemFont(13, QFont::Bold);
}
inline QFont title2() {
    return systemFont(17);
}
inline QFont title3() {
    return systemFont(15);
}
} // namespace textStyle

} // namespace pw::ui
