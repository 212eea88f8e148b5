#include "ui/ring_painter.h"

#include "ui/view_logic.h"

#include <QPainter>

namespace pw::ui {

void paintRing(QPainter& painter, const QRectF& frame, double fraction, const QColor& color,
               const RingStyle& style) {
    const double inset = style.lineWidth / 2.0;
    const QRectF circle = frame.adjusted(inset, inset, -inset, -inset);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);

    QColor track = color;
    track.setAlphaF(static_cast<float>(color.alphaF() * style.trackOpacity));
    painter.setPen(QPen(track, style.lineWidth, Qt::SolidLine, style.trackCap));
    painter.drawEllipse(circle);

    const double span = ringArcSpanDegrees(fraction);
    if (span != 0.0) {
        painter.setPen(QPen(color, style.lineWidth, Qt::SolidLine, style.arcCap));
        if (span <= -360.0)
            painter.drawEllipse(circle);
        else
            painter.drawArc(circle, 90 * 16, qRound(span * 16.0));
    }
    painter.restore();
}

} // namespace pw::ui
