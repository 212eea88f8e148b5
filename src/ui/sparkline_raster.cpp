#include "ui/sparkline_raster.h"

#include "ui/opaque_blend.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace pw::ui {
namespace {

struct Span {
    double low = 0.0; // smallest y, in image pixels
    double high = 0.0;
};

// The line's y at `x` on the segment from point i to i + 1.
double yOnSegment(double x, double x0, double y0, double x1, double y1) {
    if (x1 == x0)
        return y0;
    return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

} // namespace

void rasterizeSparkline(QImage& image, const QRectF& frame, const QList<double>& data,
                        const QColor& color, double lineWidth, double scaleMaximum) {
    const qsizetype n = data.size();
    if (n < 2 || !(scaleMaximum > 0.0) || !frame.isValid() || !(lineWidth > 0.0) ||
        image.format() != QImage::Format_ARGB32_Premultiplied)
        return;
    const double dx = frame.width() / static_cast<double>(n - 1);
    // Each point is visited by several columns: its place is worked out once.
    thread_local std::vector<double> xs, ys;
    xs.resize(std::size_t(n));
    ys.resize(std::size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        xs[std::size_t(i)] = frame.left() + dx * static_cast<double>(i);
        ys[std::size_t(i)] = frame.bottom() - frame.height() * (data[i] / scaleMaximum);
    }
    auto xAt = [&](qsizetype i) { return xs[std::size_t(i)]; };
    auto yAt = [&](qsizetype i) { return ys[std::size_t(i)]; };
    const QRgb premultiplied = qPremultiply(color.rgba());
    const bool opaque = qAlpha(premultiplied) == 255;
    auto* row0 = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const double half = lineWidth / 2.0;
    const int firstColumn = std::max(0, static_cast<int>(std::floor(frame.left())));
    const int lastColumn =
        std::min(image.width() - 1, static_cast<int>(std::ceil(frame.right())) - 1);

    for (int column = firstColumn; column <= lastColumn; ++column) {
        const double from = std::max(frame.left(), static_cast<double>(column));
        const double to = std::min(frame.right(), static_cast<double>(column + 1));
        if (!(to > from))
            continue;
        // The segments within half a line's width of this column, so steep
        // stretches are as wide as flat ones are tall.
        const double near = std::max(frame.left(), from - half);
        const double far = std::min(frame.right(), to + half);
        std::optional<Span> span;
        const auto firstSegment = std::clamp<qsizetype>(
            static_cast<qsizetype>(std::floor((near - frame.left()) / dx)), 0, n - 2);
        for (qsizetype i = firstSegment; i < n - 1 && xAt(i) < far; ++i) {
            const double y0 = yAt(i);
            const double y1 = yAt(i + 1);
            if (!std::isfinite(y0) || !std::isfinite(y1))
                continue; // a gap in the line
            const double a = std::max(near, xAt(i));
            const double b = std::min(far, xAt(i + 1));
            if (b < a)
                continue;
            const double ya = yOnSegment(a, xAt(i), y0, xAt(i + 1), y1);
            const double yb = yOnSegment(b, xAt(i), y0, xAt(i + 1), y1);
            const Span s{std::min(ya, yb), std::max(ya, yb)};
            span = span ? Span{std::min(span->low, s.low), std::max(span->high, s.high)} : s;
        }
        if (!span)
            continue;
        const double top = std::max(0.0, span->low - half);
        const double bottom = std::min(static_cast<double>(image.height()), span->high + half);
        const double across = to - from; // the share of the column the line covers
        for (int y = static_cast<int>(std::floor(top)); y < bottom; ++y) {
            const double down = std::min(bottom, y + 1.0) - std::max(top, static_cast<double>(y));
            QRgb& pixel = row0[y * stride + column];
            // Most of a steep stretch covers whole pixels: an opaque colour
            // then simply replaces them, as blending would.
            if (opaque && down >= 1.0 && across >= 1.0)
                pixel = premultiplied;
            else if (down > 0.0)
                pixel = overAtCoverage(pixel, premultiplied, down * across);
        }
    }
}

} // namespace pw::ui
