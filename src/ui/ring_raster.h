#pragma once

#include "ui/ring_painter.h"

#include <QImage>

namespace pw::ui {

// Draws the gauge ring `paintRing` strokes, straight into the pixels of
// `image` (premultiplied ARGB32): `frame` is in the image's own pixels and
// `style.lineWidth` too. Each pixel is covered by how far its centre lies
// inside the band and inside the arc's flat ends, so edges blend as a
// stroke's do. Qt hands a stroke of this many spans to its thread pool, which
// costs more than the ring; this costs a few microseconds. Only flat caps are
// drawn (`ringRasterizable`); nothing is drawn outside the image.
void rasterizeRing(QImage& image, const QRectF& frame, double fraction, const QColor& color,
                   const RingStyle& style);

// Whether `rasterizeRing` draws this style and frame as `paintRing` would.
bool ringRasterizable(const QRectF& frame, const RingStyle& style);

} // namespace pw::ui
