#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace pw::ui {

struct RingStyle {
    double lineWidth = 4.0;
    double trackOpacity = 0.3;
    Qt::PenCapStyle trackCap = Qt::FlatCap;
    Qt::PenCapStyle arcCap = Qt::FlatCap;
};

// A gauge ring inside `frame`: a faint full track, then the arc from 12
// o'clock clockwise over `fraction` of the circle (clamped to 0–1). The
// stroke stays inside the frame.
void paintRing(QPainter& painter, const QRectF& frame, double fraction, const QColor& color,
               const RingStyle& style);

} // namespace pw::ui
