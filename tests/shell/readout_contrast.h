#pragma once

// WCAG contrast of the readout's figures against the pixels right around them,
// measured on pictures as a person sees them: the readout composited over a
// panel, or a screenshot of one.

#include <QColor>
#include <QImage>
#include <QRect>

namespace pw::test {

// WCAG 2 relative luminance of an sRGB colour.
double relativeLuminance(QColor color);
double contrastRatio(double luminanceA, double luminanceB);

// `image` (with transparency) over an opaque panel of `panel`, as RGB32.
QImage composedOver(const QImage& image, QColor panel);

struct FigureContrast {
    // Nine in ten of the figures' solid pixels keep at least this ratio to
    // every background pixel within two pixels of any figure pixel.
    double ratio = 0.0;
    int solidPixels = 0; // figure pixels drawn at half coverage or more
    QRect bounds;        // of every pixel the figures changed
};

// `withFigures` and `withoutFigures` are the same opaque picture with and
// without its text; the text is wherever they differ.
FigureContrast figureContrast(const QImage& withFigures, const QImage& withoutFigures);

} // namespace pw::test
