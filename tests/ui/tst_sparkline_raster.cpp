// The tray's sparkline drawn straight into pixels, and the readout images made
// on a kept canvas: the line lands where the values say, stays inside the
// image whatever the values, and no frame shows anything of the one before.
#include "ui/menu_bar_readout.h"
#include "ui/sparkline_raster.h"

#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace pw::ui;

namespace {

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

int inkedRows(const QImage& image, int column) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += qAlpha(image.pixel(column, y)) > 0 ? 1 : 0;
    return rows;
}

bool validPremultiplied(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
            if (qRed(p) > qAlpha(p) || qGreen(p) > qAlpha(p) || qBlue(p) > qAlpha(p))
                return false;
        }
    return true;
}

} // namespace

class TestSparklineRaster : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineFollowsTheValues() {
        // Half load across a 20 × 10 frame at (5, 2): a band 1.5 high around y = 7.
        QImage image = blank(30, 14);
        rasterizeSparkline(image, QRectF(5, 2, 20, 10), QList<double>(8, 50.0), Qt::white, 1.5);
        for (int x = 5; x < 25; ++x) {
            // Three quarters of rows 6 and 7 are covered.
            QCOMPARE(qAlpha(image.pixel(x, 6)), 191);
            QCOMPARE(qAlpha(image.pixel(x, 7)), 191);
            QCOMPARE(inkedRows(image, x), 2);
        }
        // Nothing left or right of the frame.
        for (int x : {0, 4, 25, 29})
            QCOMPARE(inkedRows(image, x), 0);
        QVERIFY(validPremultiplied(image));

        // A jump from idle to full load covers the whole height where it happens.
        QImage step = blank(10, 10);
        rasterizeSparkline(step, QRectF(0, 0, 10, 10), {0, 0, 0, 0, 0, 100, 100, 100, 100, 100},
                           Qt::red, 1.0);
        QCOMPARE(inkedRows(step, 4), 10);
        QVERIFY(inkedRows(step, 0) <= 2);
        QVERIFY(validPremultiplied(step));
    }

    void oddInputStaysInsideTheImage() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QImage image = blank(12, 12);
        // Values far off the scale, gaps, and a frame larger than the image.
        rasterizeSparkline(image, QRectF(-50, -50, 200, 200), {1e12, nan, -1e12, inf, 40, 60},
                           Qt::green, 3.0);
        QVERIFY(validPremultiplied(image));

        QImage untouched = blank(8, 8);
        const QImage before = untouched;
        rasterizeSparkline(untouched, QRectF(0, 0, 8, 8), {50.0}, Qt::white, 1.5);
        rasterizeSparkline(untouched, QRectF(0, 0, 8, 8), {50, 50}, Qt::white, 1.5, 0.0);
        rasterizeSparkline(untouched, QRectF(0, 0, 0, 8), {50, 50}, Qt::white, 1.5);
        QCOMPARE(untouched, before);
        QImage otherFormat(8, 8, QImage::Format_RGB32);
        otherFormat.fill(Qt::black);
        const QImage black = otherFormat;
        rasterizeSparkline(otherFormat, QRectF(0, 0, 8, 8), {0, 100}, Qt::white, 1.5);
        QCOMPARE(otherFormat, black);
    }

    // Tray frames are made on a canvas kept per size, with each figure line's
    // pixels kept once drawn: every frame must equal painting the readout
    // afresh, whatever frames came before it.
    void trayFramesEqualAFreshPainting() {
        const QColor accent(10, 132, 255);
        QList<double> jagged;
        for (int i = 0; i < 60; ++i)
            jagged.append(i % 2 ? 95.0 : 5.0);
        const auto painted = [&](const ReadoutFigures& figures, QSize size, qreal dpr) {
            QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            image.setDevicePixelRatio(dpr);
            QPainter painter(&image);
            paintMenuBarReadout(painter, QSizeF(size), figures, accent);
            return image;
        };
        // The same texts again with another line: the frame is replayed, not laid out.
        const QList<ReadoutFigures> frames{{QList<double>(60, 20.0), 7.0, 40.0},
                                           {jagged, 7.0, 40.0},
                                           {jagged, 100.0, 99.9},
                                           {QList<double>(60, 20.0), 7.0, 40.0},
                                           {jagged, std::nan(""), std::nan("")},
                                           {jagged, 100.0, 99.9}};
        for (const auto& [size, dpr] : {std::pair{QSize(22, 22), 1.0},
                                        {QSize(32, 32), 1.0},
                                        {QSize(22, 22), 2.0},
                                        {QSize(70, 22), 1.0},
                                        {QSize(70, 22), 2.0},
                                        {QSize(24, 22), 1.0}})
            for (const ReadoutFigures& figures : frames)
                QCOMPARE(renderMenuBarReadout(figures, size, dpr, accent),
                         painted(figures, size, dpr));
    }
};

QTEST_MAIN(TestSparklineRaster)
#include "tst_sparkline_raster.moc"
