#include "ui/opaque_blend.h"

#include <QPainter>
#include <QTest>

using namespace pw::ui;

// The tray without an alpha channel must look exactly as when Qt's painter
// laid the icon over it: every alpha, over dark and light backdrops.
class TestOpaqueBlend : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchesThePaintersSourceOver() {
        QImage source(256, 3, QImage::Format_ARGB32_Premultiplied);
        for (int a = 0; a < 256; ++a) {
            source.setPixelColor(a, 0, QColor(255, 255, 255, a));
            source.setPixelColor(a, 1, QColor(30, 200, 90, a));
            source.setPixelColor(a, 2, QColor(0, 0, 0, a));
        }
        for (const QRgb backdropColor : {qRgb(0, 0, 0), qRgb(43, 43, 43), qRgb(240, 240, 236),
                                         qRgb(255, 255, 255), qRgb(10, 128, 250)}) {
            QImage backdrop(source.size(), QImage::Format_RGB32);
            backdrop.fill(backdropColor);
            QImage expected = backdrop.copy();
            QPainter painter(&expected);
            painter.drawImage(0, 0, source);
            painter.end();

            QImage out(source.size(), QImage::Format_RGB32);
            blendOverOpaque(source, backdrop, out);
            QCOMPARE(out, expected);
            out.fill(Qt::red);
            blendOverColor(source, backdropColor, out);
            QCOMPARE(out, expected);
        }
    }

    // Images of other shapes are left alone rather than read out of bounds.
    void mismatchedImagesAreLeftAlone() {
        QImage source(4, 4, QImage::Format_ARGB32_Premultiplied);
        source.fill(Qt::white);
        QImage out(3, 4, QImage::Format_RGB32);
        out.fill(Qt::red);
        const QImage before = out.copy();
        blendOverColor(source, qRgb(0, 0, 0), out);
        QImage backdrop(2, 2, QImage::Format_RGB32);
        QImage sameSize(4, 4, QImage::Format_RGB32);
        sameSize.fill(Qt::red);
        blendOverOpaque(source, backdrop, sameSize);
        QCOMPARE(out, before);
        QCOMPARE(sameSize.pixel(0, 0), qRgb(255, 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestOpaqueBlend)
#include "tst_opaque_blend.moc"
