#include "app/window_placement.h"

#include <algorithm>

namespace pw::app {
namespace {
constexpr int kGap = 4;    // between the tray entry and the popup
constexpr int kMargin = 8; // between a fresh readout and the screen edge
} // namespace

QPoint clampInto(QPoint topLeft, QSize size, const QRect& available) {
    if (available.isEmpty())
        return topLeft;
    // Right/bottom first, then left/top, so an oversized window keeps its
    // top-left corner on screen.
    int x = std::min(topLeft.x(), available.x() + available.width() - size.width());
    int y = std::min(topLeft.y(), available.y() + available.height() - size.height());
    x = std::max(x, available.x());
    y = std::max(y, available.y());
    return {x, y};
}

QSize popupSizeWithin(QSize content, const QRect& available, int scrollBarWidth) {
    if (available.isEmpty())
        return content;
    // Room for the gap to the tray entry as well, so the popup never needs to cover it.
    const int room = std::max(1, available.height() - 2 * kGap);
    if (content.height() <= room)
        return content.boundedTo(available.size());
    return QSize(std::min(content.width() + scrollBarWidth, available.width()), room);
}

QPoint popupTopLeft(const std::optional<QRect>& anchor, QPoint pointer, const QRect& available,
                    QSize popupSize) {
    const QRect target = anchor && !anchor->isEmpty() ? *anchor : QRect(pointer, QSize(1, 1));
    const int x = target.x() + target.width() / 2 - popupSize.width() / 2;
    const bool inLowerHalf = !available.isEmpty() && target.center().y() > available.center().y();
    const int y =
        inLowerHalf ? target.y() - kGap - popupSize.height() : target.y() + target.height() + kGap;
    return clampInto({x, y}, popupSize, available);
}

QPoint readoutPosition(const std::optional<QPoint>& saved, const QList<QRect>& availableAreas,
                       QSize readoutSize) {
    if (saved) {
        for (const QRect& area : availableAreas) {
            if (area.contains(QRect(*saved, readoutSize)))
                return *saved;
        }
        // Partly off every screen (a monitor went away): pull it onto the one
        // holding its corner, if any.
        for (const QRect& area : availableAreas) {
            if (area.contains(*saved))
                return clampInto(*saved, readoutSize, area);
        }
    }
    if (availableAreas.isEmpty())
        return {kMargin, kMargin};
    const QRect& first = availableAreas.first();
    return clampInto(
        {first.x() + first.width() - readoutSize.width() - kMargin, first.y() + kMargin},
        readoutSize, first);
}

} // namespace pw::app
