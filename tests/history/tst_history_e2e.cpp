// The program itself: a recording killed outright, a second writer in another
// process, and the export command, each in a state folder of its own. (A
// damaged store: tst_history_store.)
#include "app/command_line.h"
#include "history_test_support.h"
#include "services/history/history_query.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kFixture = QStringLiteral(PW_FIXTURES "/intel-hybrid-laptop");

struct Sandbox {
    QTemporaryDir dir;
    QString state() const { return dir.filePath(QStringLiteral("state")); }
    QString tmp() const { return dir.filePath(QStringLiteral("tmp")); }
    QString store() const { return state() + QStringLiteral("/pulsewick/history.sqlite"); }
    Sandbox() { QDir().mkpath(tmp()); }
    QProcessEnvironment env() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("DISPLAY"));
        e.remove(QStringLiteral("WAYLAND_DISPLAY"));
        e.insert(QStringLiteral("XDG_STATE_HOME"), state());
        e.insert(QStringLiteral("TMPDIR"), tmp());
        return e;
    }
};

// A headless recording run; `samples` above 0 ends it after that many cycles.
QStringList recording(int samples = 0, const QString& root = kFixture) {
    QStringList args{"--headless", "--record", "--root", root, "--latency-host", "127.0.0.1"};
    if (samples > 0)
        args << QStringLiteral("--samples") << QString::number(samples);
    return args;
}

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run run(const Sandbox& box, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(box.env());
    p.start(QStringLiteral(PW_BINARY), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

void start(QProcess& p, const Sandbox& box, const QStringList& args) {
    p.setProcessEnvironment(box.env());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral(PW_BINARY), args);
}

double now() {
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

// The Timestamp column of an export, in seconds since 1970.
QList<double> exportedTimes(const QString& path) {
    QList<double> times;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return times;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QDateTime at = QDateTime::fromString(QString::fromLatin1(lines[i].split(',')[0]),
                                                   QStringLiteral("yyyy-MM-dd HH:mm:ss +0000"));
        times << static_cast<double>(QDateTime(at.date(), at.time(), Qt::UTC).toSecsSinceEpoch());
    }
    return times;
}

} // namespace

class TestHistoryEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesTheHistoryOptions() {
        using pw::app::parseCommandLine;
        using Action = pw::app::CommandLineResult::Action;
        auto r = parseCommandLine({"--headless", "--record", "--history-csv=30d"});
        QCOMPARE(r.action, Action::Run);
        QVERIFY(r.options.record && *r.options.historyCsv == pw::HistoryRange::Month);
        QVERIFY(!parseCommandLine({"--headless"}).options.record);
        for (const QStringList& bad : QList<QStringList>{
                 {"--history-csv"}, {"--history-csv", "1d"}, {"--history-csv", ""}, {"--record=1"}})
            QCOMPARE(parseCommandLine(bad).action, Action::Error);
        QVERIFY(parseCommandLine({"--history-csv", "5m"}).error.contains(QStringLiteral("5m")));
    }

    void killedRunLosesAtMostTenSeconds() {
        Sandbox box;
        QProcess first;
        start(first, box, recording());
        QVERIFY(first.waitForStarted());
        QTest::qWait(25000);
        first.kill(); // SIGKILL: nothing pending gets written
        const double killedAt = now();
        QVERIFY(first.waitForFinished());
        QTest::qWait(3000);

        QProcess second;
        const double restartedAt = now();
        start(second, box, recording());
        QVERIFY(second.waitForStarted());
        QTest::qWait(12000);
        second.terminate(); // SIGTERM writes what is pending
        const double stoppedAt = now();
        QVERIFY(second.waitForFinished());
        QCOMPARE(second.exitCode(), 0);

        const Run exported = run(box, {"--history-csv", "1h"});
        QCOMPARE(exported.exitCode, 0);
        const QString path = QString::fromUtf8(exported.out.trimmed());
        QVERIFY2(path.startsWith(box.tmp()), exported.out + exported.err);
        const QList<double> times = exportedTimes(path);
        QList<double> before, after;
        for (double t : times)
            (t < restartedAt ? before : after) << t;
        QVERIFY2(
            before.size() >= 10 && after.size() >= 10,
            qPrintable(QStringLiteral("%1 rows, %2 rows").arg(before.size()).arg(after.size())));
        // Whole seconds in the file: one second of slack on each side.
        QVERIFY2(killedAt - before.last() <= 11.0,
                 qPrintable(QStringLiteral("%1 s lost").arg(killedAt - before.last())));
        QVERIFY2(stoppedAt - after.last() <= 2.0,
                 qPrintable(QStringLiteral("%1 s lost").arg(stoppedAt - after.last())));
        QVERIFY(after.first() - before.last() > 2.0);
        qInfo("%.1f s lost at the kill, %.1f s at the stop, a gap of %.0f s between the runs",
              killedAt - before.last(), stoppedAt - after.last(), after.first() - before.last());
        for (const QList<double>& runRows : {before, after})
            for (qsizetype i = 1; i < runRows.size(); ++i)
                QVERIFY(runRows[i] - runRows[i - 1] <= 2.0);

        // The chart over that hour breaks its line once, between the runs.
        pw::HistoryQuery query(box.store());
        const pw::HistoryChartData chart = query.chart({"cpuUsage"}, now() - 3600, now(), 3600);
        const auto& points = chart.series[0].points;
        int gaps = 0;
        for (std::size_t i = 1; i < points.size(); ++i)
            gaps += pw::isHistoryGap(points[i - 1], points[i], chart.rowSeconds);
        QCOMPARE(gaps, 1);
        QCOMPARE(integrityCheck(box.store()), QStringLiteral("ok"));
    }

    void secondWriterRecordsNothingAndSaysSo() {
        Sandbox box;
        QProcess owner;
        start(owner, box, recording());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(box.store()), 10000);
        // Another machine's figures, so a row of its own would show.
        const Run second = run(box, recording(12, QStringLiteral(PW_FIXTURES "/amd-desktop")));
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.out.count("another Pulsewick is recording"), 1);
        owner.terminate();
        QVERIFY(owner.waitForFinished());
        QCOMPARE(sqliteValue(box.store(), "SELECT COUNT(DISTINCT memoryTotal) FROM samples"),
                 QStringLiteral("1"));
        QCOMPARE(integrityCheck(box.store()), QStringLiteral("ok"));
    }

    void exportCommand() {
        Sandbox box;
        Run r = run(box, {"--history-csv", "7d"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("no history yet"), r.err);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(run(box, {"--history-csv", "2w"}).exitCode, 2);

        QCOMPARE(run(box, recording(2)).exitCode, 0);
        r = run(box, {"--json", "--history-csv", "24h"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        const QString path = o.value(QStringLiteral("exportedCsv")).toString();
        QVERIFY2(QFileInfo(path).fileName().startsWith("Pulsewick_History_24h_"), r.out);
        QCOMPARE(exportedTimes(path).size(), 2);

        QVERIFY(QDir(box.tmp()).removeRecursively());
        r = run(box, {"--history-csv", "1h"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.startsWith("Failed to write CSV: "), r.out);
        QCOMPARE(integrityCheck(box.store()), QStringLiteral("ok"));
    }
};

QTEST_GUILESS_MAIN(TestHistoryEndToEnd)
#include "tst_history_e2e.moc"
