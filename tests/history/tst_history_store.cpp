// The store driven by a fake clock: rows at full rate for a day, minutes for
// a month, gaps kept, bad files set aside, one writer at a time.
#include "history_test_support.h"
#include "platform/fake/fake_sources.h"
#include "services/figures/figure_catalogue.h"
#include "services/history/history_columns.h"
#include "services/history/history_export.h"
#include "services/history/history_query.h"
#include "services/history/history_recorder.h"
#include "services/history/history_store_session.h"
#include "services/history/history_writer.h"
#include "services/history_csv.h"
#include "services/log_line.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace pw;
using namespace std::chrono_literals;

namespace {

// 2023-11-14 22:13:00 UTC, the start of a minute.
constexpr double kStart = 1'700'000'000.0 - 20.0;

struct Rig {
    QTemporaryDir dir;
    platform::FakeClock clock;
    Snapshot snapshot;
    QString store() const { return dir.filePath(QStringLiteral("state/pulsewick/history.sqlite")); }

    Rig() {
        clock.wall = kStart;
        snapshot.memory.usedGB = 6.0;
        snapshot.memory.totalGB = 16.0;
    }
    HistoryRecorder::Options options() const {
        HistoryRecorder::Options o;
        o.storePath = store();
        return o;
    }
    // One cycle at the fake clock's time.
    void cycle(HistoryRecorder& recorder, double cpu, double stepSeconds = 1.0) {
        snapshot.wallSeconds = clock.wallSeconds();
        snapshot.cpu.usagePercent = cpu;
        recorder.record({snapshot, nullptr});
        clock.advance(stepSeconds);
    }
    qint64 count(const QString& sql) const { return sqliteValue(store(), sql).toLongLong(); }
};

} // namespace

class TestHistoryStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_log.clear();
        setLogSink([this](const QString& line) { m_log << line; });
    }
    void cleanup() { setLogSink({}); }

    void columnsAreTheCataloguesNumbers() {
        QStringList ids;
        for (const Figure& f : figureCatalogue())
            if (f.kind == FigureKind::Gauge)
                ids << QString::fromLatin1(f.id.data(), static_cast<qsizetype>(f.id.size()));
        QStringList columns;
        for (const HistoryColumn& c : historyColumns())
            columns << c.name;
        QCOMPARE(columns, ids);
        QVERIFY(columns.contains(QStringLiteral("currentLatency")));
        QVERIFY(!columns.contains(QStringLiteral("cpuHistory")));
        QVERIFY(!columns.contains(QStringLiteral("diskReadBytes")));
        const QString header = historyRangeHeader();
        QVERIFY(header.startsWith(QStringLiteral("Timestamp,cpuUsage (%),")));
        QVERIFY(header.contains(QStringLiteral(",efficiencyRatio,")));
        QVERIFY(header.contains(QStringLiteral(",diskReadRate (B/s),")));

        // Unknown figures are NaN, whole numbers become doubles.
        Snapshot s;
        s.wallSeconds = 12.3456;
        s.power.batteryPercent = 87;
        const HistoryRow row = historyRow({s, nullptr});
        QCOMPARE(row.timeMs, 12346);
        QCOMPARE(row.values[std::size_t(historyColumnIndex(u"batteryPercentage"))], 87.0);
        QVERIFY(std::isnan(row.values[std::size_t(historyColumnIndex(u"socTemperature"))]));
        QVERIFY(std::isnan(row.values[std::size_t(historyColumnIndex(u"currentLatency"))]));
    }

    // A row shorter than the table (an older caller) fills the rest with
    // NULL, never with the values of the row before it.
    void shortRowsLeaveNoValuesBehind() {
        Rig rig;
        history::StoreSession session(rig.store(), [](const QString&) {});
        QVERIFY(!session.open());
        const std::vector<double> full(historyColumns().size(), 42.0);
        QVERIFY(!session.write({{1000, full}, {2000, {7.0}}}, false));
        session.close();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "short-rows");
        db.setDatabaseName(rig.store());
        QVERIFY(db.open());
        {
            QSqlQuery q(db);
            const QString last = history::quoted(historyColumns().back().name);
            QVERIFY(
                q.exec(QStringLiteral("SELECT cpuUsage, %1 FROM samples ORDER BY t").arg(last)));
            QVERIFY(q.next());
            QCOMPARE(q.value(1).toDouble(), 42.0);
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toDouble(), 7.0);
            QVERIFY(q.value(1).isNull());
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("short-rows"));
    }

    // A day at full rate, a month by the minute, and a gap that stays one.
    void rowsAgeOutAndMinutesHoldTheirRange() {
        Rig rig;
        auto recorder = std::make_unique<HistoryRecorder>(rig.options());
        QVERIFY(recorder->isRecording());
        // The first minute: loads 0..59, temperature unknown until the last 10 s.
        for (int i = 0; i < 60; ++i) {
            rig.snapshot.socTemperatureCelsius =
                i >= 50 ? std::optional<double>(40.0 + i) : std::nullopt;
            rig.cycle(*recorder, i);
        }
        rig.snapshot.socTemperatureCelsius.reset();
        // Ten minutes asleep, then a minute of cycles.
        rig.clock.advance(600);
        for (int i = 0; i < 60; ++i)
            rig.cycle(*recorder, 50.0);
        QVERIFY(recorder->waitUntilWritten(10s));
        const qint64 first = std::llround(kStart * 1000);

        QCOMPARE(rig.count("SELECT COUNT(*) FROM samples"), 120);
        QCOMPARE(sqliteValue(rig.store(), QStringLiteral("SELECT cpuUsage_min, cpuUsage_mean, "
                                                         "cpuUsage_max, socTemperature_min, "
                                                         "socTemperature_max FROM minutes "
                                                         "WHERE t = %1")
                                              .arg(first)),
                 QStringLiteral("0.0|29.5|59.0|90.0|99.0"));
        QCOMPARE(rig.count(QStringLiteral("SELECT COUNT(*) FROM minutes WHERE t > %1 AND t < %2")
                               .arg(first)
                               .arg(first + 660'000)),
                 0);
        // The chart breaks its line across the sleep, at full rate and by the minute.
        HistoryQuery query(rig.store());
        const HistoryChartData hour = query.chart({"cpuUsage"}, kStart, kStart + 3600, 3600);
        QCOMPARE(hour.rowSeconds, 1.0);
        const auto& points = hour.series[0].points;
        QCOMPARE(points.size(), std::size_t(120));
        int gaps = 0;
        for (std::size_t i = 1; i < points.size(); ++i)
            gaps += isHistoryGap(points[i - 1], points[i], hour.rowSeconds);
        QCOMPARE(gaps, 1);
        QVERIFY(isHistoryGap(points[59], points[60], 1.0));

        // Past a day the first minute's seconds are gone, its minute row stays.
        for (double t = 0; t < 25 * 3600.0; t += 30.0)
            rig.cycle(*recorder, 10.0, 30.0);
        QVERIFY(recorder->waitUntilWritten(30s));
        const qint64 newest = rig.count("SELECT MAX(t) FROM samples");
        QVERIFY(rig.count("SELECT MIN(t) FROM samples") >= newest - 24 * 3'600'000LL);
        QCOMPARE(
            rig.count(
                QStringLiteral("SELECT COUNT(*) FROM samples WHERE t < %1").arg(first + 120'000)),
            0);
        QCOMPARE(rig.count(QStringLiteral("SELECT COUNT(*) FROM minutes WHERE t = %1").arg(first)),
                 1);
        const HistoryChartData week =
            query.chart({"cpuUsage"}, rig.clock.wall - 7 * 86400, rig.clock.wall, 700);
        QCOMPARE(week.rowSeconds, 60.0);
        QVERIFY(!week.series[0].points.empty());
        QCOMPARE(week.series[0].points.front().high, 59.0);

        // Past a month the first minute is gone too.
        for (double t = 0; t < 30 * 86400.0; t += 600.0)
            rig.cycle(*recorder, 20.0, 600.0);
        recorder.reset(); // a clean end writes what is pending
        QCOMPARE(
            rig.count(
                QStringLiteral("SELECT COUNT(*) FROM minutes WHERE t <= %1").arg(first + 660'000)),
            0);
        const qint64 newestMinute = rig.count("SELECT MAX(t) FROM minutes");
        QVERIFY(rig.count("SELECT MIN(t) FROM minutes") >= newestMinute - 30 * 86'400'000LL);
        QCOMPARE(rig.count("SELECT COUNT(*) FROM samples"), 24 * 3600 / 600 + 1);
        QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
        QVERIFY2(m_log.isEmpty(), qPrintable(m_log.join('\n')));
    }

    // Minutes not folded yet still show on the long ranges.
    void longRangesReachUpToNow() {
        Rig rig;
        HistoryRecorder recorder(rig.options());
        for (int i = 0; i < 30; ++i)
            rig.cycle(recorder, i);
        QVERIFY(recorder.waitUntilWritten(10s));
        QCOMPARE(rig.count("SELECT COUNT(*) FROM minutes"), 0);
        HistoryQuery query(rig.store());
        const HistoryChartData day = query.chart({"cpuUsage", "socTemperature"},
                                                 rig.clock.wall - 86400, rig.clock.wall, 700);
        QCOMPARE(day.rowSeconds, 60.0);
        QCOMPARE(day.series[0].points.size(), std::size_t(1));
        const HistoryPoint& p = day.series[0].points[0];
        QCOMPARE(p.mean, 14.5);
        QCOMPARE(p.low, 0.0);
        QCOMPARE(p.high, 29.0);
        QVERIFY(std::isnan(day.series[1].points[0].mean));
    }

    // Qt ends the program with exit() when the X server goes: what the writer
    // was handed is written before Qt's database registry is torn down.
    void rowsHandedOverAreWrittenBeforeExit() {
        Rig rig;
        HistoryRecorder recorder(rig.options());
        QVERIFY(recorder.waitUntilWritten(10s)); // the store is open
        for (int i = 0; i < 5; ++i)
            rig.cycle(recorder, i);
        recorder.flush();
        HistoryWriter::stopAllBeforeExit();
        QCOMPARE(rig.count("SELECT COUNT(*) FROM samples"), 5);
    }

    void jitterIsNoGap() {
        const HistoryPoint a{100.0, 10, 1, 1, 1};
        QVERIFY(!isHistoryGap(a, {101.9, 12, 1, 1, 1}, 1.0)); // a late tick skips a bucket
        QVERIFY(!isHistoryGap(a, {130.0, 11, 1, 1, 1}, 1.0)); // wide buckets side by side
        QVERIFY(isHistoryGap(a, {102.5, 12, 1, 1, 1}, 1.0));
        QVERIFY(isHistoryGap(a, {400.0, 13, 1, 1, 1}, 60.0));
    }

    // A minute cut short by a quit is folded, and folded again when the next
    // run adds to it.
    void restartWithinAMinuteRefoldsIt() {
        Rig rig;
        {
            HistoryRecorder first(rig.options());
            for (int i = 0; i < 20; ++i)
                rig.cycle(first, 10.0);
        }
        {
            HistoryRecorder second(rig.options());
            for (int i = 0; i < 20; ++i)
                rig.cycle(second, 40.0);
            rig.clock.advance(60);
            rig.cycle(second, 0.0);
        }
        QCOMPARE(sqliteValue(rig.store(), QStringLiteral("SELECT cpuUsage_min, cpuUsage_mean, "
                                                         "cpuUsage_max FROM minutes ORDER BY t "
                                                         "LIMIT 1")),
                 QStringLiteral("10.0|25.0|40.0"));
        QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
    }

    void olderStoreGainsNewColumns() {
        Rig rig;
        QDir().mkpath(QFileInfo(rig.store()).absolutePath());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
            db.setDatabaseName(rig.store());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE samples (t INTEGER PRIMARY KEY, cpuUsage REAL)"));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO samples VALUES (%1, 12.5)")
                               .arg(std::llround((kStart - 5) * 1000))));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase("old");
        {
            HistoryRecorder recorder(rig.options());
            rig.cycle(recorder, 33.0);
        }
        QCOMPARE(sqliteValue(rig.store(), "SELECT cpuUsage, memoryTotal FROM samples ORDER BY t"),
                 QStringLiteral("12.5|\n33.0|16.0"));
        QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
    }

    // Garbage, or a header that promises a database and then nothing of one.
    void damagedStoreIsSetAsideAndANewOneWorks() {
        for (const QByteArray& damage :
             {QByteArray(8192, '\x5a'),
              QByteArray("SQLite format 3\0 but not really", 31) + QByteArray(4000, '\xff')}) {
            Rig rig;
            m_log.clear();
            QVERIFY(writeDamagedStore(rig.store(), damage));
            {
                HistoryRecorder recorder(rig.options());
                for (int i = 0; i < 5; ++i)
                    rig.cycle(recorder, 1.0);
                QVERIFY(recorder.waitUntilWritten(10s));
            }
            QCOMPARE(m_log.size(), 1);
            QVERIFY2(m_log[0].contains(QStringLiteral("moved it to")), qPrintable(m_log[0]));
            const QString folder = QFileInfo(rig.store()).absolutePath();
            const QStringList aside =
                filesStartingWith(folder, QStringLiteral("history.sqlite.corrupt-"));
            QCOMPARE(aside.size(), 1);
            QCOMPARE(QFileInfo(folder + '/' + aside[0]).size(), damage.size());
            QCOMPARE(rig.count("SELECT COUNT(*) FROM samples"), 5);
            QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
        }
    }

    void secondWriterRecordsNothingAndSaysSo() {
        Rig rig;
        HistoryRecorder owner(rig.options());
        HistoryRecorder second(rig.options());
        QVERIFY(owner.isRecording());
        QVERIFY(!second.isRecording());
        QCOMPARE(m_log.size(), 1);
        QVERIFY(m_log[0].contains(QStringLiteral("another Pulsewick is recording")));
        for (int i = 0; i < 12; ++i)
            rig.cycle(second, 99.0);
        for (int i = 0; i < 3; ++i)
            rig.cycle(owner, 1.0);
        QVERIFY(second.waitUntilWritten(1s));
        QVERIFY(owner.waitUntilWritten(10s));
        QCOMPARE(sqliteValue(rig.store(), "SELECT COUNT(*), MAX(cpuUsage) FROM samples"),
                 QStringLiteral("3|1.0"));
        QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
    }

    // A store that fills up stops recording with one line, never blocks the
    // cycle, and keeps the file sound.
    void fullStoreStopsWithOneLine() {
        Rig rig;
        HistoryRecorder::Options options = rig.options();
        options.maxPageCount = 16;
        options.retryAfter = 0ms;
        HistoryRecorder recorder(options);
        for (int i = 0; i < 2000; ++i) {
            rig.cycle(recorder, i % 100);
            if (i % 100 == 0)
                QVERIFY(recorder.waitUntilWritten(10s));
        }
        QVERIFY(recorder.waitUntilWritten(10s));
        QCOMPARE(m_log.size(), 1);
        QVERIFY2(m_log[0].contains(QStringLiteral("cannot write to")) &&
                     m_log[0].contains(QStringLiteral("full")),
                 qPrintable(m_log[0]));
        QVERIFY(rig.count("SELECT COUNT(*) FROM samples") > 0);
        QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
    }

    // A folder that cannot be made holds the rows back until it can.
    void unwritableFolderIsRetriedWithRowsKept() {
        Rig rig;
        const QString blocker = rig.dir.filePath(QStringLiteral("state"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly)); // a file where the folder should be
        file.close();
        HistoryRecorder::Options options = rig.options();
        options.retryAfter = 0ms;
        HistoryRecorder recorder(options);
        for (int i = 0; i < 5; ++i)
            rig.cycle(recorder, 7.0);
        QCOMPARE(m_log.size(), 1);
        QVERIFY2(m_log[0].contains(QStringLiteral("cannot write to")), qPrintable(m_log[0]));
        QVERIFY(QFile::remove(blocker));
        for (int i = 0; i < 5; ++i)
            rig.cycle(recorder, 8.0);
        QVERIFY(recorder.waitUntilWritten(10s));
        QCOMPARE(sqliteValue(rig.store(), "SELECT COUNT(*), MIN(cpuUsage) FROM samples"),
                 QStringLiteral("10|7.0"));
        QCOMPARE(integrityCheck(rig.store()), QStringLiteral("ok"));
    }

    void exportWritesTheRange() {
        Rig rig;
        {
            HistoryRecorder recorder(rig.options());
            for (int i = 0; i < 30; ++i)
                rig.cycle(recorder, i);
        }
        const QString out = rig.dir.filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        const double now = rig.clock.wall + 1;
        HistoryExportResult result = exportHistoryRange(rig.store(), HistoryRange::Hour, now, out);
        QVERIFY2(result.path, qPrintable(result.error));
        QCOMPARE(QFileInfo(*result.path).fileName(),
                 QStringLiteral("Pulsewick_History_1h_%1.csv").arg(csvNumber(now)));
        QFile csv(*result.path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines.size(), 32); // header, 30 rows, the empty end after the last line feed
        QCOMPARE(lines[0], historyRangeHeader().toUtf8());
        const QList<QByteArray> row = lines[1].split(',');
        QCOMPARE(row.size(), lines[0].split(',').size());
        QCOMPARE(row[0], QByteArray("2023-11-14 22:13:00 +0000"));
        QCOMPARE(row[historyColumnIndex(u"cpuUsage") + 1], QByteArray("0.0"));
        QCOMPARE(row[historyColumnIndex(u"socTemperature") + 1], QByteArray());
        QCOMPARE(lines[30].split(',')[historyColumnIndex(u"cpuUsage") + 1], QByteArray("29.0"));

        // Minute means for a week.
        result = exportHistoryRange(rig.store(), HistoryRange::Week, now, out);
        QVERIFY(result.path);
        QFile week(*result.path);
        QVERIFY(week.open(QIODevice::ReadOnly));
        const QList<QByteArray> weekLines = week.readAll().split('\n');
        QCOMPARE(weekLines.size(), 3);
        QCOMPARE(weekLines[1].split(',')[historyColumnIndex(u"cpuUsage") + 1], QByteArray("14.5"));

        result = exportHistoryRange(rig.dir.filePath("none.sqlite"), HistoryRange::Hour, now, out);
        QVERIFY(!result.path && result.noStore);
        result = exportHistoryRange(rig.store(), HistoryRange::Hour, now, rig.dir.filePath("gone"));
        QVERIFY(!result.path && !result.noStore && !result.error.isEmpty());
    }

private:
    QStringList m_log;
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_history_store.moc"
