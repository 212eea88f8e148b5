#include "services/engine/snapshot.h"
#include "services/gpu/gpu_monitor.h"
#include "services/network/network_details_monitor.h"
#include "services/process_info_data.h"
#include "services/system_colors.h"
#include "services/theme_manager.h"
#include "ui/format/figure_format.h"
#include "ui/gpu_strip.h"
#include "ui/spring_animation.h"
#include "ui/view_logic.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>
#include <numeric>

using namespace pw::ui;
namespace systemColor = pw::systemColor;

namespace {
const QString kDash = QString::fromUtf8("\u2014");
}

class TestPopupLogic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ringAndSparklineGeometry() {
        QCOMPARE(ringFraction(150.0), 1.0);
        QCOMPARE(ringArcSpanDegrees(ringFraction(150.0)), -360.0);
        QCOMPARE(ringFraction(25.0), 0.25);
        QCOMPARE(ringArcSpanDegrees(0.25), -90.0); // 12 o'clock to 3 o'clock, clockwise
        QCOMPARE(ringFraction(0.0), 0.0);
        QCOMPARE(ringFraction(-10.0), 0.0);
        QCOMPARE(ringFraction(std::nan("")), 0.0);
        QCOMPARE(ringArcSpanDegrees(0.0), 0.0);

        const QSizeF frame(30, 16);
        QVERIFY(sparklinePoints({}, frame).isEmpty());
        QVERIFY(sparklinePoints({42.0}, frame).isEmpty());
        const QPolygonF two = sparklinePoints({0.0, 100.0}, frame);
        QCOMPARE(two.size(), 2);
        QCOMPARE(two[0], QPointF(0, 16)); // 0 on the bottom edge, left
        QCOMPARE(two[1], QPointF(30, 0)); // 100 on the top edge, right
        QCOMPARE(sparklinePoints({50.0, 50.0}, frame)[0].y(), 8.0);
        // Not clamped and not fitted to the data.
        const QPolygonF wild = sparklinePoints({150.0, -50.0, 50.0}, QSizeF(100, 16));
        QCOMPARE(wild[0], QPointF(0, -8));
        QCOMPARE(wild[1], QPointF(50, 24));
        QCOMPARE(wild[2], QPointF(100, 8));
        const QPolygonF full = sparklinePoints(QList<double>(60, 10.0), QSizeF(59, 10));
        QCOMPARE(full.size(), 60);
        QCOMPARE(full[1].x(), 1.0);
        QCOMPARE(full[59].x(), 59.0);
    }

    void memoryFigures() {
        pw::MemoryFigures memory;
        // Before the first sample the total is 0: the divisor falls back to 1.
        QCOMPARE(memoryUsedPercentage(memory), 0.0);
        memory.usedGB = 0.5;
        QCOMPARE(memoryUsedPercentage(memory), 50.0);
        memory.usedGB = 3.0;
        memory.totalGB = 0.5;
        QCOMPARE(memoryUsedPercentage(memory), 300.0);
        memory.usedGB = 8.0;
        memory.totalGB = 16.0;
        QCOMPARE(memoryUsedPercentage(memory), 50.0);

        // The machine's own swap total, whatever its size.
        QCOMPARE(swapText(2.0, 11.6), QStringLiteral("2.0 GB of 11.6 GB"));
        QCOMPARE(swapBarFraction(2.9, 11.6), 0.25);
        QCOMPARE(swapBarFraction(6.3, 4.0), 1.0); // never past full
        QCOMPARE(swapText(0.0, 0.0), QStringLiteral("No swap"));
        QCOMPARE(swapBarFraction(0.0, 0.0), 0.0);
        QCOMPARE(swapText(1.0, std::nullopt), kDash);
        QCOMPARE(swapBarFraction(1.0, std::nullopt), 0.0);

        memory.usedGB = 7.0;
        memory.appGB = 4.0;
        memory.wiredGB = 2.0;
        memory.compressedGB = 1.0;
        QStringList legend;
        for (const auto& item : memoryLegend(memory))
            legend << item.label + ' ' + item.value;
        QCOMPARE(legend,
                 QStringList({"App 4.0 GB", "Wired 2.0 GB", "Compressed 1.0 GB", "Free 9.0 GB"}));
        // Free is not clamped: more used than total shows as negative.
        memory.usedGB = 9.5;
        memory.totalGB = 8.0;
        QCOMPARE(memoryLegend(memory)[3].value, QStringLiteral("-1.5 GB"));
    }

    void diskNetworkAndGpuFigures() {
        QCOMPARE(residentMemoryText(3LL << 29), QStringLiteral("1.5 GB"));
        QCOMPARE(residentMemoryText(1LL << 30), QStringLiteral("1.0 GB"));
        QCOMPARE(residentMemoryText((1LL << 30) - (1LL << 20)), QStringLiteral("1023 MB"));
        QCOMPARE(residentMemoryText(45LL << 20), QStringLiteral("45 MB"));
        QCOMPARE(residentMemoryText(-1), kDash);
        pw::ProcessInfoData process;
        process.storageReadRate = 12.6 * kMiB;
        process.storageWriteRate = 340.4 * kKiB;
        QCOMPARE(diskProcessFigures(process).first, QStringLiteral("13M"));
        QCOMPARE(diskProcessFigures(process).second, QStringLiteral("340K"));
        process.storageReadRate = -1.0; // one sample: no rate yet
        process.storageWriteRate = 0.0;
        QCOMPARE(diskProcessFigures(process).first, kDash);
        QCOMPARE(diskProcessFigures(process).second, QStringLiteral("0K"));

        QCOMPARE(diskRingFigure(0.799).text, QStringLiteral("79"));
        QCOMPARE(diskRingFigure(0.799).fraction, 0.799);
        QCOMPARE(diskRingFigure(std::nullopt).text, kDash);
        QCOMPARE(diskRingFigure(std::nullopt).fraction, 0.0);
        QCOMPARE(diskAvailableText(210.44), QStringLiteral("210.4 GB available"));
        QCOMPARE(diskAvailableText(std::nullopt), kDash);

        pw::NetworkDetailsMonitor network;
        pw::Snapshot snapshot;
        network.apply(snapshot);
        QCOMPARE(interfaceFigure(network).text, kDash); // no route
        QCOMPARE(interfaceFigure(network).symbol, QStringLiteral("wifi"));
        snapshot.network.interfaceName = QStringLiteral("wlan0");
        snapshot.network.wireless = true;
        network.apply(snapshot);
        QCOMPARE(interfaceFigure(network).text, QStringLiteral("Wi-Fi"));
        snapshot.network.interfaceName = QStringLiteral("enp3s0");
        snapshot.network.wireless = false;
        network.apply(snapshot);
        QCOMPARE(interfaceFigure(network).text, QStringLiteral("enp3s0"));
        QVERIFY(interfaceFigure(network).symbol != QStringLiteral("wifi"));
        QCOMPARE(rateChartScale({}), 1.0);
        QCOMPARE(rateChartScale({0.2, 350.0, 12.0}), 350.0);

        // Without a GPU every gauge is the dash over an empty arc.
        pw::GpuMonitor gpu;
        gpu.apply(snapshot);
        const QList<GaugeFigure> none = gpuGaugeFigures(gpu);
        QCOMPARE(none.size(), 4);
        for (const GaugeFigure& unknown : none) {
            QCOMPARE(unknown.text, kDash);
            QCOMPARE(unknown.fraction, 0.0);
        }
        pw::platform::GpuDevice card;
        card.busyPercent = 11.4;
        card.memoryBusyPercent = 7.0;
        card.temperatureCelsius = 102.9;
        card.vramUsedBytes = 342;
        card.vramTotalBytes = 1000;
        snapshot.gpu.devices = {card};
        snapshot.gpu.shown = 0;
        gpu.apply(snapshot);
        const QList<GaugeFigure> gauges = gpuGaugeFigures(gpu);
        QCOMPARE(gauges[0].text, QStringLiteral("11%"));
        QCOMPARE(gauges[1].fraction, 0.07);
        QCOMPARE(gauges[2].text, QString::fromUtf8("102\u00B0"));
        QCOMPARE(gauges[2].fraction, 1.0); // the temperature arc stops at 100
        QCOMPARE(gauges[3].text, QStringLiteral("0.34"));
        QCOMPARE(gauges[3].fraction, 0.342);
    }

    void coreRingsInRowsThatFit() {
        const QList<CoreRingFill> fills =
            coreRingFills({150.0, 50.0, -3.0}, {false, true}); // flags may run short
        QCOMPARE(fills.size(), 3);
        QCOMPARE(fills[0].fraction, 1.0);
        QCOMPARE(fills[0].color, systemColor::blue());
        QCOMPARE(fills[1].color, systemColor::pink());
        QCOMPARE(fills[1].fraction, 0.5);
        QCOMPARE(fills[2].fraction, 0.0);
        QCOMPARE(fills[2].color, systemColor::blue());

        QVERIFY(coreRingGrid(0).rows.isEmpty());
        QCOMPARE(coreRingGrid(2).rows, QList<int>({2}));
        QCOMPARE(coreRingGrid(8).rows, QList<int>({8}));
        QCOMPARE(coreRingGrid(12).rows, QList<int>({10, 2}));
        const CoreRingGrid thirty = coreRingGrid(30);
        QCOMPARE(thirty.rows, QList<int>({10, 10, 10}));
        QCOMPARE(thirty.diameter, 24);
        QCOMPARE(thirty.spacing, 6);
        QCOMPARE(thirty.lineWidth, 4.0);
        for (qsizetype count : {31, 64, 200}) {
            const CoreRingGrid grid = coreRingGrid(count);
            QCOMPARE(grid.rows.size(), 3);
            QCOMPARE(std::accumulate(grid.rows.begin(), grid.rows.end(), 0), count);
            QVERIFY(grid.diameter >= 8 && grid.diameter < 24);
            QCOMPARE(grid.lineWidth, 4.0 * grid.diameter / 24.0);
            if (grid.diameter > 8) { // at the smallest size very many CPUs may overflow
                const int width = grid.rows[0] * grid.diameter + (grid.rows[0] - 1) * grid.spacing;
                QVERIFY2(width <= kCoreSectionWidth, qPrintable(QString::number(width)));
            }
        }
        QCOMPARE(coreRingGrid(64).rows, QList<int>({22, 22, 20}));
    }

    void launchersStartOnlyDesktopEntries() {
        const auto command = launchCommandFor(QStringLiteral("/usr/share/applications/ed.desktop"));
        QVERIFY(command);
        QCOMPARE(command->program, QStringLiteral("gio"));
        QCOMPARE(command->arguments, QStringList({"launch", "/usr/share/applications/ed.desktop"}));
        QVERIFY(!launchCommandFor(QString()));
        QVERIFY(!launchCommandFor(QStringLiteral("ed.desktop")));
        QVERIFY(!launchCommandFor(QStringLiteral("/tmp/payload.sh")));
        QVERIFY(!launchCommandFor(QStringLiteral("/Applications/Evil.app")));
        QCOMPARE(launcherToolTip(QStringLiteral("firefox")), QStringLiteral("Open firefox"));
    }

    // The order the theme button steps through is checked through the popup.
    void themesAndRawValues() {
        pw::ThemeManager manager;
        QSignalSpy changed(&manager, &pw::ThemeManager::currentThemeChanged);
        QCOMPARE(manager.currentTheme(), pw::AppTheme::standard);
        manager.setCurrentTheme(pw::AppTheme::standard);
        QCOMPARE(changed.count(), 0); // the theme in force: no redraw
        QCOMPARE(pw::theme::fromRawValue(QStringLiteral("Ink")), pw::AppTheme::ink);
        QVERIFY(!pw::theme::fromRawValue(QStringLiteral("standard")));
    }

    void springSettlesOnItsTarget() {
        QCOMPARE(springPosition(0.0, 0.3, 0.7), 0.0);
        const double settle = springSettleMilliseconds(0.3, 0.7) / 1000.0;
        QVERIFY(std::abs(springPosition(settle, 0.3, 0.7) - 1.0) < 2e-3);
        // Damping 0.7 overshoots a little (about 5 %), never wildly.
        double peak = 0.0;
        for (double t = 0.0; t <= settle; t += 0.005)
            peak = std::max(peak, springPosition(t, 0.3, 0.7));
        QVERIFY(peak > 1.0 && peak < 1.1);
        QVERIFY(springSettleMilliseconds(0.8, 0.7) > springSettleMilliseconds(0.3, 0.7));
        for (const QEasingCurve& curve : {tabSelectionSpring(), ringSpring()}) {
            QCOMPARE(curve.valueForProgress(0.0), 0.0);
            QCOMPARE(curve.valueForProgress(1.0), 1.0);
            QVERIFY(curve.valueForProgress(0.5) > 0.9);
        }
    }
};

QTEST_GUILESS_MAIN(TestPopupLogic)
#include "tst_popup_logic.moc"
