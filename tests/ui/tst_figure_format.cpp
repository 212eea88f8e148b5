#include "ui/format/figure_format.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace pw::ui;

namespace {
const QString kDash = QString::fromUtf8("\u2014");
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
} // namespace

class TestFigureFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unknownIsTheDashAlone() {
        QCOMPARE(dash(), kDash);
        QCOMPARE(percentText(std::nullopt), kDash);
        QCOMPARE(fixedText(std::nullopt, 2, u" W"), kDash); // no unit after the dash
        QCOMPARE(wholeText(std::optional<double>(), u"\u00B0"), kDash);
        QCOMPARE(wholeText(std::optional<qint64>(), u"%"), kDash);
        QCOMPARE(byteRateText(std::nullopt), kDash);
        QCOMPARE(orDash(QString()), kDash);
        QCOMPARE(orDash(std::optional<QString>()), kDash);
        QCOMPARE(orDash(std::optional<QString>(QString())), kDash);
        QCOMPARE(orDash(std::optional<QString>(QStringLiteral("10.0.0.2"))),
                 QStringLiteral("10.0.0.2"));
        // Zero is a measurement, not an unknown.
        QCOMPARE(percentText(0.0), QStringLiteral("0%"));
        QCOMPARE(fixedText(0.0, 2, u" W"), QStringLiteral("0.00 W"));
    }

    void fixedDecimalsRoundAsPrintf() {
        QCOMPARE(percentText(37.4), QStringLiteral("37%"));
        QCOMPARE(percentText(99.4), QStringLiteral("99%"));
        QCOMPARE(percentText(100.0), QStringLiteral("100%"));
        QCOMPARE(percentText(-3.0), QStringLiteral("-3%"));
        // printf rounds an exact tie to even, not away from zero.
        QCOMPARE(percentText(2.5), QStringLiteral("2%"));
        QCOMPARE(percentText(37.5), QStringLiteral("38%"));
        QCOMPARE(fixedText(-0.25, 1, u" GB"), QStringLiteral("-0.2 GB"));
        QCOMPARE(fixedText(45.26, 1, kDegreeSign), QString::fromUtf8("45.3\u00B0"));
        QCOMPARE(fixedText(3.14159, 2, u" W"), QStringLiteral("3.14 W"));
        QCOMPARE(fixedText(0.005, 1, u" KB/s"), QStringLiteral("0.0 KB/s"));
        QCOMPARE(fixedText(1234.5, 1), QStringLiteral("1234.5")); // no grouping
        // Whatever the desktop's locale.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German));
        QCOMPARE(fixedText(1234.5, 1), QStringLiteral("1234.5"));
        QLocale::setDefault(before);
        // The widest double still fits.
        QCOMPARE(fixed(std::numeric_limits<double>::max(), 2).size(), 312);
    }

    void wholeNumbersCutTowardZeroAndSurviveAnyDouble() {
        QCOMPARE(wholeNumber(99.99), 99);
        QCOMPARE(wholeNumber(-0.7), 0);
        QCOMPARE(wholeNumber(-41.9), -41);
        QCOMPARE(wholeNumber(kNaN), 0);
        QCOMPARE(wholeNumber(kInfinity), std::numeric_limits<qint64>::max());
        QCOMPARE(wholeNumber(-kInfinity), std::numeric_limits<qint64>::min());
        QCOMPARE(wholeNumber(9223372036854775808.0), std::numeric_limits<qint64>::max());
        QCOMPARE(wholeNumber(-9223372036854775808.0), std::numeric_limits<qint64>::min());
        QCOMPARE(wholeText(47.8, u"\u00B0C"), QString::fromUtf8("47\u00B0C"));
        QCOMPARE(wholeText(kNaN, u"%"), QStringLiteral("0%"));
        QCOMPARE(wholeText(std::optional<qint64>(80), u"%"), QStringLiteral("80%"));
    }

    void byteRatesInBinaryUnits() {
        // 1 KB = 1024 bytes; KB/s up to 1023, one decimal below 100 MB/s.
        QCOMPARE(byteRateText(0.0), QStringLiteral("0 KB/s"));
        QCOMPARE(byteRateText(491.0 * kKiB), QStringLiteral("491 KB/s"));
        QCOMPARE(byteRateText(1023.0 * kKiB), QStringLiteral("1023 KB/s"));
        QCOMPARE(byteRateText(kMiB), QStringLiteral("1.0 MB/s"));
        QCOMPARE(byteRateText(58.5 * kMiB), QStringLiteral("58.5 MB/s"));
        QCOMPARE(byteRateText(99.9 * kMiB), QStringLiteral("99.9 MB/s"));
        QCOMPARE(byteRateText(100.0 * kMiB), QStringLiteral("100 MB/s"));
        QCOMPARE(byteRateText(174.2 * kMiB), QStringLiteral("174 MB/s"));
        QCOMPARE(byteRateText(-1.0), kDash);
        QCOMPARE(byteRateText(kNaN), kDash);
    }

    void thousandsGroupedWhateverTheLocale() {
        QCOMPARE(groupedThousands(0), QStringLiteral("0"));
        QCOMPARE(groupedThousands(999), QStringLiteral("999"));
        QCOMPARE(groupedThousands(2240), QStringLiteral("2,240"));
        QCOMPARE(groupedThousands(1234567), QStringLiteral("1,234,567"));
        QCOMPARE(groupedThousands(-1000), QStringLiteral("-1,000"));
        QCOMPARE(groupedThousands(std::numeric_limits<qint64>::min()),
                 QStringLiteral("-9,223,372,036,854,775,808"));
    }
};

QTEST_APPLESS_MAIN(TestFigureFormat)
#include "tst_figure_format.moc"
