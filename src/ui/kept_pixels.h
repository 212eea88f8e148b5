#pragma once

#include <QImage>

class QWidget;

namespace pw::ui {

// The device pixels of `widget`, cleared to transparent, in `kept`: reused
// while the widget's size and scale stay, for views that draw straight into
// pixels every second rather than through a painter.
QImage& clearedPixelsFor(const QWidget& widget, QImage& kept);

} // namespace pw::ui
