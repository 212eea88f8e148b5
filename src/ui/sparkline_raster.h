#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>

namespace pw::ui {

// Draws a sparkline of `data` (0–`scaleMaximum`) straight into the pixels of
// `image` (premultiplied ARGB32), in `frame` given in the image's own pixels:
// in each pixel column the line covers the span between the lowest and
// highest value it passes there, widened by half `lineWidth` above and below,
// with partly covered pixels blended by how much is covered. At tray sizes
// this looks like a stroked line but costs a few thousand instructions,
// where Qt's stroker spends two arctangents on every point. Values that are
// not finite leave a gap; nothing is drawn outside the image, nor for fewer
// than two values.
void rasterizeSparkline(QImage& image, const QRectF& frame, const QList<double>& data,
                        const QColor& color, double lineWidth, double scaleMaximum = 100.0);

} // namespace pw::ui
