// The gauge ring drawn straight into pixels against the same ring stroked by
// Qt: the band, the direction and length of the arc and the soft edges must
// agree, at both scales and across the whole range of fractions.
#include "ui/ring_painter.h"
#include "ui/ring_raster.h"

#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace pw::ui;

namespace {

QImage blank(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage stroked(int side, double fraction, const QColor& color, const RingStyle& style) {
    QImage image = blank(side);
    QPainter painter(&image);
    paintRing(painter, QRectF(0, 0, side, side), fraction, color, style);
    return image;
}

QImage rastered(int side, double fraction, const QColor& color, const RingStyle& style) {
    QImage image = blank(side);
    rasterizeRing(image, QRectF(0, 0, side, side), fraction, color, style);
    return image;
}

// Sum of one channel over the image, in units of full pixels.
double channelSum(const QImage& image, int (*channel)(QRgb)) {
    double sum = 0.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += channel(image.pixel(x, y)) / 255.0;
    return sum;
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = reinterpret_cast<const QRgb*>(a.constScanLine(y))[x];
            const QRgb q = reinterpret_cast<const QRgb*>(b.constScanLine(y))[x];
            largest = std::max({largest, std::abs(qAlpha(p) - qAlpha(q)),
                                std::abs(qRed(p) - qRed(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

} // namespace

class TestRingRaster : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesTheStrokedRing_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<double>("lineWidth");
        QTest::addColumn<double>("fraction");
        for (const auto& [side, width] : {std::pair{22, 3.0}, {40, 4.0}, {80, 8.0}, {100, 8.0}})
            for (double fraction : {0.0, 0.03, 0.25, 0.5, 0.61, 0.9, 1.0}) {
                const QByteArray name =
                    QByteArray::number(side) + " at " + QByteArray::number(fraction);
                QTest::newRow(name.constData()) << side << width << fraction;
            }
    }
    void matchesTheStrokedRing() {
        QFETCH(int, side);
        QFETCH(double, lineWidth);
        QFETCH(double, fraction);
        const RingStyle style{lineWidth, 0.3, Qt::FlatCap, Qt::FlatCap};
        const QImage want = stroked(side, fraction, QColor(10, 132, 255), style);
        const QImage got = rastered(side, fraction, QColor(10, 132, 255), style);
        const double wantInk = channelSum(want, qAlpha);
        const double gotInk = channelSum(got, qAlpha);
        // Qt's small rings come out a few per cent lighter than the band's true
        // area; a ring a pixel too wide or an arc a few degrees off is far more.
        QVERIFY2(std::abs(gotInk - wantInk) <= 0.05 * wantInk + 1.0,
                 qPrintable(QStringLiteral("ink %1 against %2").arg(gotInk).arg(wantInk)));
        // Edges are blended a little differently; nothing else differs.
        QVERIFY2(largestDifference(want, got) <= 96,
                 qPrintable(QStringLiteral("differs by %1").arg(largestDifference(want, got))));
    }

    void arcRunsClockwiseFromTwelve() {
        const RingStyle style{8.0, 0.3, Qt::FlatCap, Qt::FlatCap};
        const QImage quarter = rastered(100, 0.25, Qt::white, style);
        // On the band: right of 12 o'clock is arc, left of it is only track.
        QCOMPARE(qAlpha(quarter.pixel(60, 4)), 255);
        QCOMPARE(qAlpha(quarter.pixel(96, 50 - 10)), 255);
        QCOMPARE(qAlpha(quarter.pixel(39, 4)), 77);
        QCOMPARE(qAlpha(quarter.pixel(50, 95)), 77);
        // Inside and outside the band nothing is drawn.
        QCOMPARE(qAlpha(quarter.pixel(50, 50)), 0);
        QCOMPARE(qAlpha(quarter.pixel(2, 2)), 0);

        QCOMPARE(qAlpha(rastered(100, 1.0, Qt::white, style).pixel(39, 4)), 255);
        QCOMPARE(qAlpha(rastered(100, 0.0, Qt::white, style).pixel(60, 4)), 77);
    }

    void oddInputDrawsNothingWrong() {
        const RingStyle style{4.0, 0.3, Qt::FlatCap, Qt::FlatCap};
        // Fractions out of range or not a number are clamped as the painter does.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QCOMPARE(rastered(40, nan, Qt::white, style), rastered(40, 0.0, Qt::white, style));
        QCOMPARE(rastered(40, -3.0, Qt::white, style), rastered(40, 0.0, Qt::white, style));
        QCOMPARE(rastered(40, 7.0, Qt::white, style), rastered(40, 1.0, Qt::white, style));

        // A frame hanging off the image is cut, not written past the pixels.
        QImage image = blank(30);
        rasterizeRing(image, QRectF(-20, 10, 40, 40), 0.7, Qt::white, style);
        QVERIFY(channelSum(image, qAlpha) > 0.0);

        // Styles it does not draw, and other image formats, leave the image alone.
        QVERIFY(!ringRasterizable(QRectF(0, 0, 40, 40), {4.0, 0.3, Qt::RoundCap, Qt::FlatCap}));
        QVERIFY(!ringRasterizable(QRectF(0, 0, 40, 30), style));
        QVERIFY(!ringRasterizable(QRectF(0, 0, 4, 4), style));
        QImage rgb(40, 40, QImage::Format_RGB32);
        rgb.fill(Qt::black);
        const QImage before = rgb;
        rasterizeRing(rgb, QRectF(0, 0, 40, 40), 0.5, Qt::white, style);
        QCOMPARE(rgb, before);
    }
};

QTEST_GUILESS_MAIN(TestRingRaster)
#include "tst_ring_raster.moc"
