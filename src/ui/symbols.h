#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

namespace pw::ui {

// Draws the picture for one of the symbol names the views use, as a mask
// tinted with `color`, `logicalSize` pixels square at `devicePixelRatio`.
// An unknown name gives a transparent pixmap of the same size.
QPixmap symbolPixmap(const QString& symbolName, const QColor& color, int logicalSize,
                     qreal devicePixelRatio = 1.0);

// The freedesktop icon name (or ":/symbols/..." resource) standing for a symbol name.
QString symbolSource(const QString& symbolName);

} // namespace pw::ui
