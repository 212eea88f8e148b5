#include "ui/kept_pixels.h"

#include <QWidget>

namespace pw::ui {

QImage& clearedPixelsFor(const QWidget& widget, QImage& kept) {
    const qreal scale = widget.devicePixelRatioF();
    const QSize pixels = (QSizeF(widget.size()) * scale).toSize();
    if (kept.size() != pixels || kept.format() != QImage::Format_ARGB32_Premultiplied)
        kept = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    kept.setDevicePixelRatio(scale);
    kept.fill(Qt::transparent);
    return kept;
}

} // namespace pw::ui
