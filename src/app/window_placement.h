#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace pw::app {

// Where the popup's top-left corner goes. It hangs centred under `anchor` (the
// tray entry's geometry, when the tray reports one) or under `pointer`, flips
// above it when the anchor sits in the lower half of the screen (a bottom
// panel), and is kept inside `available`.
QPoint popupTopLeft(const std::optional<QRect>& anchor, QPoint pointer, const QRect& available,
                    QSize popupSize);

// The popup's size for content of `content` on a work area of `available`:
// the content's own size when it fits, else cut to the area's height with
// room for a vertical scroll bar of `scrollBarWidth`.
QSize popupSizeWithin(QSize content, const QRect& available, int scrollBarWidth);

// Moves a window of `size` at `topLeft` into `available` as far as it fits;
// when it is larger than the area, its top-left corner wins.
QPoint clampInto(QPoint topLeft, QSize size, const QRect& available);

// Where the floating readout starts: its saved position when that still lies
// on one of the screens, else the top-right corner of the first screen.
QPoint readoutPosition(const std::optional<QPoint>& saved, const QList<QRect>& availableAreas,
                       QSize readoutSize);

} // namespace pw::app
