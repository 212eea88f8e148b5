#include "ui/settings_logic.h"

#include "services/engine/snapshot.h"
#include "services/storage/storage_monitor.h"
#include "services/system_colors.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace pw::ui;

class TestDashboardLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sidebarOrderAndLookup() {
        QStringList titles;
        for (const SidebarItem& item : sidebarItems())
            titles << item.title;
        QCOMPARE(titles, QStringList({"Settings", "Alerts", "Cloud", "Sensors", "Memory", "Disk",
                                      "Fans", "Power", "History", "Network", "GPU"}));
        QCOMPARE(sidebarIndexOf("History"), 8);
        QCOMPARE(sidebarIndexOf("sensors"), -1); // titles match exactly
        QCOMPARE(sidebarIndexOf(QString()), -1);
    }
    void pageTexts() {
        const QString dash = QString::fromUtf8("\u2014");
        pw::MemoryFigures memory;
        memory.usedGB = 12.06;
        memory.totalGB = 15.9;
        QCOMPARE(memoryUsageText(memory), QStringLiteral("12.1 GB / 15 GB"));
        QCOMPARE(socBadgeText(52.9), QString::fromUtf8("SOC\n52\u00B0"));
        QCOMPARE(socBadgeText(std::nullopt), QStringLiteral("SOC\n") + dash);
        // The states' words: tst_battery_info.
        QCOMPARE(batteryStateLabel(std::nullopt), dash); // no battery
    }
    void diskAndFanTexts() {
        const QString dash = QString::fromUtf8("\u2014");
        QCOMPARE(diskUsedText(0.459), QStringLiteral("45% Used"));
        QCOMPARE(diskUsedText(std::nullopt), dash);
        pw::StorageMonitor storage;
        pw::Snapshot snapshot;
        storage.apply(snapshot);
        QCOMPARE(diskSizesText(storage), dash);
        snapshot.storage.totalGB = 994.7;
        snapshot.storage.availableGB = 549.2;
        storage.apply(snapshot);
        QCOMPARE(diskSizesText(storage), QStringLiteral("445 GB / 994 GB"));

        QCOMPARE(fanLines({}), QStringList({"No fan sensors"}));
        QCOMPARE(fanLines({{"cpu_fan", 2240}}), QStringList({"Fan Speed: 2,240 RPM"}));
        QCOMPARE(fanLines({{"CPU", 1200}, {"Chassis", 860}}),
                 QStringList({"CPU: 1,200 RPM", "Chassis: 860 RPM"}));
    }
    void thresholdSliderEndsAreExact() {
        QCOMPARE(thresholdFromSliderPosition(kThresholdSliderMinimum), 50.0);
        QCOMPARE(thresholdFromSliderPosition(kThresholdSliderMaximum), 100.0);
        QCOMPARE(thresholdFromSliderPosition(9970), 99.7);
        QCOMPARE(sliderPositionFromThreshold(90.0), 9000);
        QCOMPARE(sliderPositionFromThreshold(99.7), 9970);
        QCOMPARE(sliderPositionFromThreshold(120.0), kThresholdSliderMaximum);
        QCOMPARE(sliderPositionFromThreshold(-3.0), kThresholdSliderMinimum);
        QCOMPARE(sliderPositionFromThreshold(std::nan("")), kThresholdSliderMinimum);
        QCOMPARE(sliderPositionFromThreshold(std::numeric_limits<double>::infinity()),
                 kThresholdSliderMaximum);
        for (int p = kThresholdSliderMinimum; p <= kThresholdSliderMaximum; p += 37)
            QCOMPARE(sliderPositionFromThreshold(thresholdFromSliderPosition(p)), p);
    }
    void memoryBarColourAndWidth() {
        QVERIFY(memoryPressureIsHigh(70.1));
        QVERIFY(!memoryPressureIsHigh(70.0));
        QCOMPARE(memoryPressureColor(70.1), pw::systemColor::red());
        QCOMPARE(memoryPressureColor(std::nan("")), pw::systemColor::green());
        QCOMPARE(barFillWidth(200.0, 0.0), 0.0);
        QCOMPARE(barFillWidth(200.0, 45.0), 90.0);
        QCOMPARE(barFillWidth(200.0, 150.0), 200.0); // never past the track
        QCOMPARE(barFillWidth(200.0, -5.0), 0.0);
        QCOMPARE(barFillWidth(200.0, std::nan("")), 0.0);
        QCOMPARE(barFillWidth(0.0, 50.0), 0.0);
    }
};

QTEST_APPLESS_MAIN(TestDashboardLogic)
#include "tst_dashboard_logic.moc"
