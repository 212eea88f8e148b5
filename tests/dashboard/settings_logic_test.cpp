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
    void thresholdSliderEndsAreExact();
    void memoryBarColourAndWidth();
};

void SettingsLogicTest::sidebarOrderAndLookup() {
    QStringList titles;
    for (const SidebarItem& item : sidebarItems())
        titles << item.title;
    QCOMPARE(titles, QStringList({"Settings", "Alerts", "Cloud", "Sensors", "Memory", "Disk",
                                  "Fans", "Power", "History", "Network"}));
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
    QCOMPARE(connectionHostName(2), QStringLiteral("connection-2.local"));
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
