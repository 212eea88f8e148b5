#include "platform/linux/text_scan.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

class TestTextScan : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every parser splits and trims on the same blanks, whichever file it reads.
    void blanksAreTheSameEverywhere() {
        QCOMPARE(trimmed(" \t\r\n\v\fvalue \r\n"sv), "value"sv);
        QCOMPARE(words("a\tb\r c\vd\fe\n"sv),
                 (std::vector<std::string_view>{"a", "b", "c", "d", "e"}));
        QVERIFY(words(" \t\r\n"sv).empty());

        std::vector<std::string_view> lines;
        forEachLine("one\ntwo\r\n\nlast"sv, [&](std::string_view line) { lines.push_back(line); });
        QCOMPARE(lines, (std::vector<std::string_view>{"one", "two\r", "", "last"}));
    }

    void numbersAreWholeOrAbsent() {
        QCOMPARE(wholeNumber<std::uint64_t>("18446744073709551615"sv), UINT64_MAX);
        QVERIFY(!wholeNumber<std::uint64_t>("18446744073709551616"sv)); // overflow
        QVERIFY(!wholeNumber<std::uint64_t>("-1"sv));
        QVERIFY(!wholeNumber<int>("12 "sv));
        QVERIFY(!wholeNumber<int>(""sv));
        QCOMPARE(wholeNumber<std::uint32_t>("0101A8C0"sv, 16),
                 std::optional<std::uint32_t>(0x0101A8C0));

        QCOMPARE(parseInteger(" +42\n"sv), std::optional<std::int64_t>(42));
        QCOMPARE(parseInteger("-7"sv), std::optional<std::int64_t>(-7));
        QVERIFY(!parseInteger("+-7"sv));
        QVERIFY(!parseInteger("4 2"sv));

        QCOMPARE(decimalNumber("2394.456"sv), std::optional<double>(2394.456));
        QVERIFY(!decimalNumber("inf"sv));
        QVERIFY(!decimalNumber("nan"sv));
        QVERIFY(!decimalNumber("1.5 GHz"sv));
        QCOMPARE(hexDigit('F'), 15);
        QCOMPARE(hexDigit('g'), -1);
    }
};

QTEST_GUILESS_MAIN(TestTextScan)
#include "tst_text_scan.moc"
