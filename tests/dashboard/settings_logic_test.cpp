#include "ui/settings_logic.h"

#include "services/system_colors.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace pw::ui;

class SettingsLogicTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sidebarOrderAndLookup();
    void wholeNumbersSurviveAnyDouble();
    void formatsMatchPrintf();
    void diskAndFanTexts();
    void thresholdSliderEndsAreExact();
    void memoryBarColourAndWidth();
};

void SettingsLogicTest::sidebarOrderAndLookup() {
    QStringList titles;
    for (const SidebarItem& item : sidebarItems())
        titles << item.title;
    QCOMPARE(titles, QStringList({"Settings", "Alerts", "Cloud", "Sensors", "Memory", "Disk",
                                  "Fans", "Power", "History", "Network", "GPU"}));
    QCOMPARE(sidebarItems()[sidebarIndexOf("Sensors")].symbol, QStringLiteral("cpu"));
    QCOMPARE(sidebarItems()[sidebarIndexOf("History")].symbol, QStringLiteral("clock.fill"));
    QCOMPARE(sidebarIndexOf("sensors"), -1); // titles match exactly
    QCOMPARE(sidebarIndexOf(QString()), -1);
    QCOMPARE(defaultDashboardPage(), QStringLiteral("Sensors"));
}

void SettingsLogicTest::wholeNumbersSurviveAnyDouble() {
    QCOMPARE(wholeNumber(99.99), 99);
    QCOMPARE(wholeNumber(-0.7), 0);
    QCOMPARE(wholeNumber(-41.9), -41);
    QCOMPARE(wholeNumber(std::nan("")), 0);
    QCOMPARE(wholeNumber(std::numeric_limits<double>::infinity()),
             std::numeric_limits<qint64>::max());
    QCOMPARE(wholeNumber(-std::numeric_limits<double>::infinity()),
             std::numeric_limits<qint64>::min());
    QCOMPARE(wholeNumber(9223372036854775808.0), std::numeric_limits<qint64>::max());
    QCOMPARE(wholeNumber(-9223372036854775808.0), std::numeric_limits<qint64>::min());
    QCOMPARE(wholeText(47.8, "°C"), QStringLiteral("47°C"));
    QCOMPARE(wholeText(std::nan(""), "%"), QStringLiteral("0%"));
}

void SettingsLogicTest::formatsMatchPrintf() {
    QCOMPARE(fixedText(3.14159, 2, " W"), QStringLiteral("3.14 W"));
    QCOMPARE(fixedText(0.005, 1, " KB/s"), QStringLiteral("0.0 KB/s"));
    QCOMPARE(fixedText(1234.5, 1), QStringLiteral("1234.5")); // no grouping
    QCOMPARE(memoryUsageText(12.06, 15.9), QStringLiteral("12.1 GB / 15 GB"));
    QCOMPARE(socBadgeText(52.9), QStringLiteral("SOC\n52°"));
    QCOMPARE(chargingText(true), QStringLiteral("Charging"));
    QCOMPARE(chargingText(false), QStringLiteral("Discharging"));
}

void SettingsLogicTest::diskAndFanTexts() {
    const QString dash = QString::fromUtf8("\u2014");
    QCOMPARE(diskUsedText(0.459), QStringLiteral("45% Used"));
    QCOMPARE(diskUsedText(-1.0), dash);
    QCOMPARE(diskSizesText(994.7, 549.2, 0.45), QStringLiteral("445 GB / 994 GB"));
    QCOMPARE(diskSizesText(0.0, 0.0, -1.0), dash);

    QCOMPARE(groupedThousands(0), QStringLiteral("0"));
    QCOMPARE(groupedThousands(999), QStringLiteral("999"));
    QCOMPARE(groupedThousands(2240), QStringLiteral("2,240"));
    QCOMPARE(groupedThousands(1234567), QStringLiteral("1,234,567"));
    QCOMPARE(groupedThousands(-1000), QStringLiteral("-1,000"));
    QCOMPARE(groupedThousands(std::numeric_limits<qint64>::min()),
             QStringLiteral("-9,223,372,036,854,775,808"));

    QCOMPARE(fanLines({}), QStringList({"No fan sensors"}));
    QCOMPARE(fanLines({{"cpu_fan", 2240}}), QStringList({"Fan Speed: 2,240 RPM"}));
    QCOMPARE(fanLines({{"CPU", 1200}, {"Chassis", 860}}),
             QStringList({"CPU: 1,200 RPM", "Chassis: 860 RPM"}));
}

void SettingsLogicTest::thresholdSliderEndsAreExact() {
    QCOMPARE(thresholdFromSliderPosition(kThresholdSliderMinimum), 50.0);
    QCOMPARE(thresholdFromSliderPosition(kThresholdSliderMaximum), 100.0);
    QCOMPARE(thresholdFromSliderPosition(9970), 99.7);
    QCOMPARE(wholeText(thresholdFromSliderPosition(9970), "%"), QStringLiteral("99%"));
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

void SettingsLogicTest::memoryBarColourAndWidth() {
    QVERIFY(memoryPressureIsHigh(70.1));
    QVERIFY(!memoryPressureIsHigh(70.0));
    QCOMPARE(memoryPressureColor(70.1), pw::systemColor::red());
    QCOMPARE(memoryPressureColor(70.0), pw::systemColor::green());
    QCOMPARE(memoryPressureColor(std::nan("")), pw::systemColor::green());
    QCOMPARE(barFillWidth(200.0, 0.0), 0.0);
    QCOMPARE(barFillWidth(200.0, 45.0), 90.0);
    QCOMPARE(barFillWidth(200.0, 150.0), 200.0); // never past the track
    QCOMPARE(barFillWidth(200.0, -5.0), 0.0);
    QCOMPARE(barFillWidth(200.0, std::nan("")), 0.0);
    QCOMPARE(barFillWidth(0.0, 50.0), 0.0);
}

QTEST_APPLESS_MAIN(SettingsLogicTest)
#include "settings_logic_test.moc"
