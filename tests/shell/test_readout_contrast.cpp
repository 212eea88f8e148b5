#include "readout_contrast.h"
#include "ui/menu_bar_readout.h"

#include <QtTest>

using namespace pw;
using namespace pw::ui;
using pw::test::composedOver;
using pw::test::figureContrast;

// The tray readout must stay legible on whatever panel shows it: its figures
// are measured against the pixels around them, over light, dark and coloured
// panels, at the sizes trays hand out.
class ReadoutContrastTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void figuresKeepWcagContrastOnEveryPanel_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("dpr");
        QTest::addColumn<QColor>("panel");
        QTest::addColumn<double>("cpu");
        const QList<QPair<const char*, QColor>> panels = {{"white", QColor(Qt::white)},
                                                          {"#202020", QColor(0x20, 0x20, 0x20)},
                                                          {"black", QColor(Qt::black)},
                                                          {"#2980b9", QColor(0x29, 0x80, 0xb9)}};
        const QList<QSize> sizes = {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {70, 22}};
        for (const auto& [name, colour] : panels) {
            for (QSize size : sizes) {
                for (double cpu : {7.0, 37.0, 100.0}) {
                    QTest::addRow("%s %dx%d cpu %.0f", name, size.width(), size.height(), cpu)
                        << size << qreal(1.0) << colour << cpu;
                }
            }
            QTest::addRow("%s 22x22 at 2x", name) << QSize(22, 22) << qreal(2.0) << colour << 37.0;
        }
    }
    void figuresKeepWcagContrastOnEveryPanel() {
        QFETCH(QSize, size);
        QFETCH(qreal, dpr);
        QFETCH(QColor, panel);
        QFETCH(double, cpu);
        QList<double> history;
        for (int i = 0; i < 60; ++i)
            history << (i * 37) % 100;
        const ReadoutFigures figures{history, cpu, 45.3};
        const QColor accent(0x30, 0x8c, 0xc6);
        const QImage with = composedOver(
            renderMenuBarReadout(figures, size, dpr, accent, ReadoutLayers::All), panel);
        const QImage without = composedOver(
            renderMenuBarReadout(figures, size, dpr, accent, ReadoutLayers::WithoutFigures), panel);
        const auto measured = figureContrast(with, without);
        qInfo("contrast %.2f:1 over %d solid figure pixels", measured.ratio, measured.solidPixels);
        QVERIFY2(measured.solidPixels >= 12, "the figures are hardly drawn");
        QVERIFY2(measured.ratio >= 4.5, qPrintable(QString::number(measured.ratio)));
    }
    void smallestIconHasDigitsTallEnoughToRead() {
        // A 16-pixel slot gets a layout of its own, not a 22-pixel one shrunk.
        for (double cpu : {3.0, 37.0, 88.0}) {
            const ReadoutFigures figures{{}, cpu, 45.3};
            const auto measured = figureContrast(
                composedOver(renderMenuBarReadout(figures, {16, 16}, 1.0, Qt::blue), Qt::black),
                composedOver(renderMenuBarReadout(figures, {16, 16}, 1.0, Qt::blue,
                                                  ReadoutLayers::WithoutFigures),
                             Qt::black));
            QVERIFY2(measured.bounds.height() >= 7,
                     qPrintable(QString::number(measured.bounds.height())));
            QVERIFY(measured.bounds.width() >= 8);
        }
    }
    void temperatureShownWhereThereIsRoomAndAlwaysInTheToolTip() {
        const auto differsByTemperature = [](QSize size) {
            return renderMenuBarReadout({{}, 37.0, 45.3}, size, 1.0, Qt::blue) !=
                   renderMenuBarReadout({{}, 37.0, 81.9}, size, 1.0, Qt::blue);
        };
        for (QSize size : {QSize(16, 16), QSize(22, 22), QSize(24, 24)}) {
            QVERIFY(!readoutShowsTemperature(size));
            QVERIFY(!differsByTemperature(size));
        }
        for (QSize size : {QSize(32, 32), QSize(48, 48), QSize(70, 22), QSize(140, 44)}) {
            QVERIFY(readoutShowsTemperature(size));
            QVERIFY(differsByTemperature(size));
        }
        QCOMPARE(readoutToolTip({{}, 37.4, 45.26}),
                 QStringLiteral("Pulsewick: CPU 37%, 45.3\u00B0"));
    }
    void trayIconCarriesOneImagePerSide() {
        const QList<QImage> images = renderTrayIconImages({{}, 37.0, 45.3}, Qt::blue);
        const QList<TrayIconVariant> variants = trayIconVariants();
        QCOMPARE(images.size(), variants.size());
        int largest = 0;
        for (int i = 0; i < images.size(); ++i) {
            const int pixels = qRound(variants[i].side * variants[i].dpr);
            QCOMPARE(images[i].size(), QSize(pixels, pixels));
            largest = std::max(largest, pixels);
        }
        // The largest image, which scaling hosts show, has no temperature line:
        // scaled down to a small slot it would be unreadable.
        const auto isLargest = [&](const QImage& image) { return image.width() == largest; };
        const QImage biggest = *std::find_if(images.begin(), images.end(), isLargest);
        const QList<QImage> warmer = renderTrayIconImages({{}, 37.0, 81.9}, Qt::blue);
        const QImage otherTemperature = *std::find_if(warmer.begin(), warmer.end(), isLargest);
        QCOMPARE(biggest, otherTemperature);

        const QIcon icon = trayIconFromImages(images);
        // A 16-pixel request gets the image drawn for 16, not a larger one scaled.
        QCOMPARE(icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
                 images.first().convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(ReadoutContrastTest)
#include "test_readout_contrast.moc"
