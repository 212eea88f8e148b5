#include "ui/ring_raster.h"

#include "ui/opaque_blend.h"
#include "ui/view_logic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pw::ui {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// How much of a pixel at offset (x, y) from the centre, `distance` away, lies
// inside an arc running clockwise from 12 o'clock over `sweep` degrees
// (0–360), with flat ends. The signed distance to the nearer end decides;
// an end more than a quarter turn away is as far as the centre. Worked out
// with sines and cosines of the end only, not the pixel's own angle.
class ArcEnds {
public:
    explicit ArcEnds(double sweep)
        : m_large(sweep > 180.0), m_sin(std::sin(sweep * kRadiansPerDegree)),
          m_cos(std::cos(sweep * kRadiansPerDegree)) {}

    double coverage(double x, double y, double distance) const {
        // Along and across the end ray (12 o'clock is (0, -1) on screen).
        const double pastEnd = x * m_cos + y * m_sin;  // > 0: clockwise past the end
        const double alongEnd = x * m_sin - y * m_cos; // > 0: on the end's side of the centre
        const bool inside = m_large ? !(pastEnd > 0.0 && x < 0.0) : (x >= 0.0 && pastEnd <= 0.0);
        double edge;
        if (inside) {
            const double toStart = (x >= 0.0 && y < 0.0) ? x : distance;
            const double toEnd = (alongEnd > 0.0 && pastEnd <= 0.0) ? -pastEnd : distance;
            edge = std::min(toStart, toEnd);
        } else {
            const double toEnd = (alongEnd > 0.0 && pastEnd > 0.0) ? pastEnd : distance;
            const double toStart = (x <= 0.0 && y < 0.0) ? -x : distance;
            edge = -std::min(toStart, toEnd);
        }
        return std::clamp(edge + 0.5, 0.0, 1.0);
    }

private:
    bool m_large;
    double m_sin;
    double m_cos;
};

} // namespace

bool ringRasterizable(const QRectF& frame, const RingStyle& style) {
    return style.trackCap == Qt::FlatCap && style.arcCap == Qt::FlatCap &&
           qFuzzyCompare(frame.width(), frame.height()) && style.lineWidth > 0.0 &&
           frame.width() > style.lineWidth;
}

void rasterizeRing(QImage& image, const QRectF& frame, double fraction, const QColor& color,
                   const RingStyle& style) {
    if (image.format() != QImage::Format_ARGB32_Premultiplied || !ringRasterizable(frame, style))
        return;
    const double half = style.lineWidth / 2.0;
    const double radius = frame.width() / 2.0 - half; // of the stroke's middle
    const QPointF centre = frame.center();
    QColor trackColor = color;
    trackColor.setAlphaF(static_cast<float>(color.alphaF() * style.trackOpacity));
    const QRgb track = qPremultiply(trackColor.rgba());
    const QRgb arc = qPremultiply(color.rgba());
    const double sweep = std::abs(ringArcSpanDegrees(fraction)); // clockwise from 12 o'clock
    const ArcEnds ends(sweep);
    const double thinness = std::min(1.0, style.lineWidth);
    // Pixels whose centres lie this far from the band's middle get nothing.
    const double reach = half + 0.5;
    const double outer = radius + reach;
    const double inner = std::max(0.0, radius - reach);

    const QRect bounds = frame.toAlignedRect().intersected(image.rect());
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double dy = y + 0.5 - centre.y();
        if (std::abs(dy) >= outer)
            continue;
        // The band crosses this row in at most two runs, left and right of the hole.
        const double outerHalf = std::sqrt(outer * outer - dy * dy);
        const double innerHalf = std::abs(dy) < inner ? std::sqrt(inner * inner - dy * dy) : 0.0;
        const int from = std::max(bounds.left(), int(std::floor(centre.x() - outerHalf - 0.5)));
        const int to = std::min(bounds.right(), int(std::ceil(centre.x() + outerHalf - 0.5)));
        const int holeFrom = int(std::ceil(centre.x() - innerHalf - 0.5));
        const int holeTo = int(std::floor(centre.x() + innerHalf - 0.5));
        for (int x = from; x <= to; ++x) {
            if (x > holeFrom && x < holeTo) {
                x = holeTo - 1;
                continue;
            }
            const double dx = x + 0.5 - centre.x();
            const double distance = std::sqrt(dx * dx + dy * dy);
            const double band = std::clamp(half + 0.5 - std::abs(distance - radius), 0.0, thinness);
            if (band <= 0.0)
                continue;
            QRgb pixel = overAtCoverage(line[x], track, band);
            if (sweep >= 360.0)
                pixel = overAtCoverage(pixel, arc, band);
            else if (sweep > 0.0)
                pixel = overAtCoverage(pixel, arc, band * ends.coverage(dx, dy, distance));
            line[x] = pixel;
        }
    }
}

} // namespace pw::ui
