// Finds the tray readout in a screenshot of a panel and measures the WCAG
// contrast of its figures against the pixels around them, as shown there.
// Usage: tray_contrast SCREENSHOT X Y W H CPU TEMPERATURE
// Searches the X,Y,W,H part of the screenshot for the icon drawn for CPU and
// TEMPERATURE at any tray size; prints where it found it and the ratio, and
// exits 0 when the ratio is at least 4.5, 1 when it is lower, 2 when the
// icon is not there.

#include "../shell/readout_contrast.h"
#include "ui/menu_bar_readout.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <limits>

using namespace pw;

namespace {
struct Match {
    int side = 0;
    QPoint at;
    double meanDifference = std::numeric_limits<double>::max();
    qsizetype image = 0;
};

double meanDifference(const QImage& shot, QPoint at, const QImage& expected) {
    qint64 sum = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = shot.pixel(at.x() + x, at.y() + y);
            const QRgb b = expected.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        }
    }
    return static_cast<double>(sum) / (3.0 * expected.width() * expected.height());
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 8) {
        std::fprintf(stderr, "usage: tray_contrast SCREENSHOT X Y W H CPU TEMPERATURE\n");
        return 2;
    }
    const QImage shot =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QRect area =
        QRect(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5])).intersected(shot.rect());
    // A fixture machine's history stays flat at its one figure.
    const ui::ReadoutFigures figures{QList<double>(60, atof(argv[6])), atof(argv[6]),
                                     atof(argv[7])};
    if (area.isEmpty())
        return 2;
    // The panel's own colour, at the area's corner.
    const QColor panel = shot.pixelColor(area.topLeft());
    const QColor accent = ui::platformAccentColor();

    // Hosts show one of the images at its own size or scale one to their slot.
    Match best;
    const QList<QImage> shown = ui::renderTrayIconImages(figures, accent);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (int side = 16; side <= std::min(48, area.height()); ++side) {
            const QImage expected = test::composedOver(
                shown[i].scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                panel);
            for (int y = area.top(); y + side <= area.bottom() + 1; ++y) {
                for (int x = area.left(); x + side <= area.right() + 1; ++x) {
                    const double d = meanDifference(shot, {x, y}, expected);
                    if (d < best.meanDifference)
                        best = {side, {x, y}, d, i};
                }
            }
        }
    }
    if (best.side == 0 || best.meanDifference > 16.0) {
        std::printf("no readout icon in the area (closest: %d px at %d,%d, mean difference %.1f)\n",
                    best.side, best.at.x(), best.at.y(), best.meanDifference);
        return 2;
    }
    const QImage onScreen = shot.copy(QRect(best.at, QSize(best.side, best.side)));
    const QImage unlettered = ui::renderMenuBarReadout(
        figures, {ui::trayIconVariants()[best.image].side, ui::trayIconVariants()[best.image].side},
        ui::trayIconVariants()[best.image].dpr, accent, ui::ReadoutLayers::WithoutFigures);
    const QImage backdrop = test::composedOver(
        unlettered.scaled(best.side, best.side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
        panel);
    const test::FigureContrast measured = test::figureContrast(onScreen, backdrop);
    std::printf("readout icon (image %lld) shown at %d px at %d,%d on panel %s: figure contrast "
                "%.2f:1 over %d pixels\n",
                static_cast<long long>(best.image), best.side, best.at.x(), best.at.y(),
                qPrintable(panel.name()), measured.ratio, measured.solidPixels);
    return measured.solidPixels >= 12 && measured.ratio >= 4.5 ? 0 : 1;
}
