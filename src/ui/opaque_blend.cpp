#include "ui/opaque_blend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pw::ui {
namespace {

// x * a / 255, rounded, as the raster engine computes it.
inline std::uint32_t scaled(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a;
    return (t + (t >> 8) + 0x80) >> 8;
}

inline QRgb over(QRgb source, QRgb backdrop) {
    const std::uint32_t alpha = qAlpha(source);
    if (alpha == 255)
        return source;
    if (alpha == 0 && (source & 0xffffff) == 0)
        return backdrop | 0xff000000u;
    const std::uint32_t rest = 255 - alpha;
    const auto channel = [&](int shift) {
        const std::uint32_t value =
            ((source >> shift) & 0xff) + scaled((backdrop >> shift) & 0xff, rest);
        return std::min<std::uint32_t>(value, 255) << shift;
    };
    return 0xff000000u | channel(16) | channel(8) | channel(0);
}

bool fits(const QImage& source, const QImage& out) {
    return source.format() == QImage::Format_ARGB32_Premultiplied &&
           out.format() == QImage::Format_RGB32 && out.size() == source.size();
}

} // namespace

void blendOverOpaque(const QImage& source, const QImage& backdrop, QImage& out) {
    if (!fits(source, out) || backdrop.size() != source.size() ||
        (backdrop.format() != QImage::Format_RGB32 && backdrop.format() != QImage::Format_ARGB32))
        return;
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const auto* behind = reinterpret_cast<const QRgb*>(backdrop.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0, w = source.width(); x < w; ++x)
            to[x] = over(from[x], behind[x]);
    }
}

void blendOverColor(const QImage& source, QRgb backdrop, QImage& out) {
    if (!fits(source, out))
        return;
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0, w = source.width(); x < w; ++x)
            to[x] = over(from[x], backdrop);
    }
}

QRgb overAtCoverage(QRgb pixel, QRgb premultiplied, double coverage) {
    const int a = static_cast<int>(std::lround(std::clamp(coverage, 0.0, 1.0) * 255.0));
    if (a == 0)
        return pixel;
    const int keep = 255 - (qAlpha(premultiplied) * a + 127) / 255;
    auto channel = [a, keep](int src, int dst) {
        return std::min(255, (src * a + 127) / 255 + (dst * keep + 127) / 255);
    };
    return qRgba(
        channel(qRed(premultiplied), qRed(pixel)), channel(qGreen(premultiplied), qGreen(pixel)),
        channel(qBlue(premultiplied), qBlue(pixel)), channel(qAlpha(premultiplied), qAlpha(pixel)));
}

} // namespace pw::ui
