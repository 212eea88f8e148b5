#include "readout_contrast.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pw::test {
namespace {
constexpr int kSurround = 2;   // pixels around the text that count as its background
constexpr int kTouched = 24;   // a channel change smaller than this is not text
constexpr double kSolid = 0.5; // share of the strongest change that makes a solid pixel

int channelChange(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double relativeLuminance(QColor color) {
    return 0.2126 * channel(color.red()) + 0.7152 * channel(color.green()) +
           0.0722 * channel(color.blue());
}

double contrastRatio(double luminanceA, double luminanceB) {
    const auto [low, high] = std::minmax(luminanceA, luminanceB);
    return (high + 0.05) / (low + 0.05);
}

QImage composedOver(const QImage& image, QColor panel) {
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(panel);
    QPainter painter(&out);
    painter.drawImage(QPoint(0, 0), image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    painter.end();
    return out;
}

FigureContrast figureContrast(const QImage& withFigures, const QImage& withoutFigures) {
    FigureContrast result;
    const QImage a = withFigures.convertToFormat(QImage::Format_RGB32);
    const QImage b = withoutFigures.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return result;
    const int w = a.width();
    const int h = a.height();
    std::vector<int> change(static_cast<size_t>(w) * h);
    int strongest = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int c = channelChange(a.pixel(x, y), b.pixel(x, y));
            change[static_cast<size_t>(y) * w + x] = c;
            strongest = std::max(strongest, c);
            if (c >= kTouched)
                result.bounds |= QRect(x, y, 1, 1);
        }
    }
    if (strongest < kTouched)
        return result;

    std::vector<double> ratios;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (change[static_cast<size_t>(y) * w + x] < kSolid * strongest)
                continue;
            const double text = relativeLuminance(a.pixelColor(x, y));
            double worst = 1e9;
            for (int dy = -kSurround; dy <= kSurround; ++dy) {
                for (int dx = -kSurround; dx <= kSurround; ++dx) {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h)
                        continue;
                    worst = std::min(worst,
                                     contrastRatio(text, relativeLuminance(b.pixelColor(sx, sy))));
                }
            }
            ratios.push_back(worst);
        }
    }
    result.solidPixels = static_cast<int>(ratios.size());
    std::sort(ratios.begin(), ratios.end());
    result.ratio = ratios[ratios.size() / 10];
    return result;
}

} // namespace pw::test
