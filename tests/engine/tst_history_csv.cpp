#include "platform/fake/fake_sources.h"
#include "services/history_csv.h"
#include "services/system_stats_provider.h"

#include <QtTest>

using namespace pw;

class TestHistoryCsv : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberForms() {
        // Whole numbers keep one decimal; the rest as Python's repr writes them.
        QStringList forms;
        for (double v : {0.0, 7.0, 100.0, 12.5, 100.0 / 3.0, 1e-05, 0.0001, 1764945462.123456})
            forms << csvNumber(v);
        QCOMPARE(forms, (QStringList{"0.0", "7.0", "100.0", "12.5", "33.333333333333336", "1e-05",
                                     "0.0001", "1764945462.123456"}));
        // Every form must read back to the same double.
        for (double v : {0.1, 1.0 / 7.0, 99.99, 2.5e-7, 123456.789})
            QCOMPARE(csvNumber(v).toDouble(), v);
    }

    void fileContents() {
        QList<double> history(60, 0.0);
        history[58] = 12.5;
        history[59] = 100.0;
        // 2026-12-05 14:37:42.75 UTC
        const QString text = historyCsv(history, 1796481462.75);
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 62); // header, 60 lines, and the empty piece after the last \n
        QCOMPARE(lines[0], QStringLiteral("Timestamp,CPUUsage%"));
        QCOMPARE(lines[1], QStringLiteral("2026-12-05 14:36:42 +0000,0.0"));
        QCOMPARE(lines[59], QStringLiteral("2026-12-05 14:37:40 +0000,12.5"));
        // The newest value is one second before the export, never at it.
        QCOMPARE(lines[60], QStringLiteral("2026-12-05 14:37:41 +0000,100.0"));
        QCOMPARE(lines[61], QString());
        QCOMPARE(historyCsv({}, 0.0), QStringLiteral("Timestamp,CPUUsage%\n"));
        QCOMPARE(historyFileName(1764945462.5),
                 QStringLiteral("Pulsewick_History_1764945462.5.csv"));
    }

    void exportWritesANewFileEachTime() {
        QTemporaryDir dir;
        qputenv("TMPDIR", dir.path().toLocal8Bit());
        platform::FakeSources fake;
        SystemStatsProvider store(fake.sources(), nullptr, [] { return 90.0; });
        const auto first = store.exportHistoryToCSV();
        fake.clock->advance(0.25);
        const auto second = store.exportHistoryToCSV();
        QVERIFY(first && second);
        QVERIFY(*first != *second);
        QCOMPARE(QFileInfo(*first).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        QFile file(*first);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count('\n'), 61);
        QVERIFY(bytes.endsWith(",0.0\n"));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        qunsetenv("TMPDIR");
    }
};

QTEST_GUILESS_MAIN(TestHistoryCsv)
#include "tst_history_csv.moc"
