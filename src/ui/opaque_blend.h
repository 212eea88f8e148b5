#pragma once

#include <QImage>
#include <QRgb>

namespace pw::ui {

// Lays `source` (premultiplied ARGB32) over an opaque backdrop into `out`
// (RGB32, the size of `source`), as a painter's source-over would, for a tray
// that gives its icons no alpha channel. Done per pixel because the tray
// image changes every second and a painter costs more to set up than these
// few hundred pixels cost to blend.
void blendOverOpaque(const QImage& source, const QImage& backdrop, QImage& out);
void blendOverColor(const QImage& source, QRgb backdrop, QImage& out);

// One pixel of a shape drawn straight into pixels: a premultiplied colour laid
// source-over onto `pixel` at `coverage` (0–1, how much of the pixel the shape
// covers).
QRgb overAtCoverage(QRgb pixel, QRgb premultiplied, double coverage);

} // namespace pw::ui
