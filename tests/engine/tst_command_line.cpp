#include "app/command_line.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include "services/figures/figure_catalogue.h"

using pw::Figure;
using pw::figureCatalogue;
using pw::app::CommandLineResult;
using pw::app::parseCommandLine;

namespace {
struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run runBinary(const QStringList& args,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    QProcessEnvironment e = env;
    e.remove(QStringLiteral("DISPLAY"));
    e.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(PW_BINARY), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// A run of the program on a tracked machine tree, answering pings itself.
Run runOn(const char* fixture, QStringList args,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    const QString root = QStringLiteral(PW_FIXTURES "/") + QLatin1String(fixture);
    if (!QFileInfo::exists(root))
        return {-1, {}, "a tracked fixture is missing: " + root.toUtf8()};
    return runBinary(args << "--root" << root << "--latency-host"
                          << "127.0.0.1",
                     env);
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesTheOptions() {
        auto r = parseCommandLine({"--headless", "--json", "--samples", "3", "--root", "/tmp/x",
                                   "--latency-host", "127.0.0.1", "--export-csv"});
        QCOMPARE(r.action, CommandLineResult::Action::Run);
        QVERIFY(r.options.headless && r.options.json && r.options.exportCsv);
        QCOMPARE(*r.options.samples, 3);
        QCOMPARE(r.options.root, QStringLiteral("/tmp/x"));
        QCOMPARE(*r.options.latencyHost, QStringLiteral("127.0.0.1"));
        r = parseCommandLine({"--samples=2", "--dashboard", "History"});
        QCOMPARE(*r.options.samples, 2);
        QCOMPARE(*r.options.dashboardPage, QStringLiteral("History"));
        r = parseCommandLine({"--dashboard", "--headless"});
        QVERIFY(r.options.dashboard && !r.options.dashboardPage && r.options.headless);
    }

    void rejectsBadInputNamingIt() {
        for (const QStringList& args : QList<QStringList>{{"--bogus"},
                                                          {"--samples", "zero"},
                                                          {"--samples", "0"},
                                                          {"--samples"},
                                                          {"--root"},
                                                          {"--latency-host", "-f"},
                                                          {"--headless=yes"}}) {
            const auto r = parseCommandLine(args);
            QCOMPARE(r.action, CommandLineResult::Action::Error);
            QVERIFY2(!r.error.contains(QLatin1Char('\n')), qPrintable(r.error));
        }
        QVERIFY(parseCommandLine({"--bogus"}).error.contains(QStringLiteral("--bogus")));
        QVERIFY(parseCommandLine({"--samples", "zero"}).error.contains(QStringLiteral("zero")));
    }

    void binaryExitStatuses() {
        Run r = runBinary({"--frobnicate"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.startsWith("pulsewick: unknown option \"--frobnicate\"\nUsage:"));
        r = runBinary({"--help"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains("--latency-host"));
        r = runBinary({"--version"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.startsWith("pulsewick "));
    }

    void headlessJsonOnAFixture() {
        QTemporaryDir tmp;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        const Run r = runOn("intel-hybrid-laptop",
                            {"--headless", "--json", "--samples", "3", "--export-csv"}, env);
        QVERIFY2(r.exitCode == 0, r.err);
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 4); // three cycles, then the CSV path as an object
        for (int i = 0; i < 3; ++i) {
            QJsonParseError error;
            const QJsonObject o = QJsonDocument::fromJson(lines[i], &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            // Every figure of the catalogue, null where the machine has no source.
            QVERIFY(o.contains(QStringLiteral("time")));
            for (const Figure& f : figureCatalogue())
                QVERIFY2(o.contains(QLatin1String(f.id.data(), qsizetype(f.id.size()))),
                         f.id.data());
            QCOMPARE(o.value("networkHistory").toArray().size(), 60);
            QVERIFY(o.value("fans").isArray() && o.value("activeConnections").isArray());
            QVERIFY(o.value("networkIsWireless").isBool());
            const QJsonValue ane = o.value("aneUsage");
            QVERIFY(ane.isNull() || ane.toDouble() >= 0.0);
            QVERIFY(o.value("diskReadRate").isNull() || o.value("diskReadRate").toDouble() >= 0.0);
            if (i > 0) // the first cycle is the reference for per-core loads
                QVERIFY(!o.value("coreUsages").toArray().isEmpty());
            QCOMPARE(o.value("cpuHistory").toArray().size(), 60);
            QVERIFY(o.value("memoryTotal").toDouble() > 1.0);
            QVERIFY(o.value("socTemperature").toDouble() > 0.0);
            QVERIFY(o.value("batteryPercentage").toInt() > 0);
            QCOMPARE(o.value("batteryState").toString(), QStringLiteral("discharging"));
            QVERIFY(o.value("batteryIsCharging").isBool());
        }
        // Every line of the stream is an object, the export's path included.
        const QJsonObject exported = QJsonDocument::fromJson(lines[3]).object();
        QCOMPARE(exported.keys(), QStringList{QStringLiteral("exportedCsv")});
        const QString csv = exported.value(QStringLiteral("exportedCsv")).toString();
        QVERIFY(csv.startsWith(tmp.path()));
        QVERIFY(QFile::exists(csv));
    }

    // A tree with processes: the list arrives, each entry with its figures.
    void headlessJsonListsProcesses() {
        const Run r = runOn("processes", {"--headless", "--json", "--samples", "4"});
        QVERIFY2(r.exitCode == 0, r.err);
        // The list comes every two seconds, so which line carries it depends
        // on how the two timers fall; one of them must.
        QJsonArray processes;
        for (const QByteArray& line : r.out.trimmed().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.contains(QStringLiteral("topProcesses")))
                processes = o.value(QStringLiteral("topProcesses")).toArray();
        }
        QVERIFY2(!processes.isEmpty(), r.out.constData());
        for (const QJsonValue& p : processes)
            for (const char* key :
                 {"id", "name", "cpuUsage", "residentBytes", "storageReadRate", "storageWriteRate"})
                QVERIFY2(p.toObject().contains(QLatin1String(key)), key);
    }

    // The terminal line says what the battery is doing in words.
    void headlessTextNamesTheBatteryState() {
        const Run r = runOn("intel-hybrid-laptop", {"--headless", "--samples", "1"});
        QVERIFY2(r.exitCode == 0, r.err);
        QVERIFY2(r.out.contains("state Discharging"), r.out.constData());
    }

    // The README's key list: every key, with a unit and when it is null.
    void listFiguresNamesEveryKey() {
        QCOMPARE(parseCommandLine({"--list-figures"}).action,
                 pw::app::CommandLineResult::Action::ListFigures);
        const Run r = runBinary({"--list-figures"}, QProcessEnvironment::systemEnvironment());
        QCOMPARE(r.exitCode, 0);
        const QString table = QString::fromUtf8(r.out);
        for (const Figure& f : figureCatalogue()) {
            const QString key =
                QStringLiteral("| `%1` |").arg(QLatin1String(f.id.data(), qsizetype(f.id.size())));
            QVERIFY2(table.contains(key), f.id.data());
        }
        for (const char* key : {"| `time` |", "| `topProcesses` |", "| `batteryState` |"})
            QVERIFY2(table.contains(QLatin1String(key)), key);
        QVERIFY(table.contains(
            QStringLiteral("| `networkDownload` | KB (1024 bytes) per 1-second cycle")));
        QVERIFY(table.contains(QStringLiteral("| `diskReadRate` | bytes per second |")));
    }

    void logLinesStayOffTheJsonStream() {
        const Run r = runOn("bare-vm", {"--json", "--samples", "2"});
        QVERIFY2(r.exitCode == 0, r.err);
        QVERIFY(r.err.contains("HIDMonitor: No thermal services found.\n"));
        QCOMPARE(r.err.count("HIDMonitor"), 1);
        for (const QByteArray& line : r.out.trimmed().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            QVERIFY(!o.isEmpty());
            // No battery, no sensor, no efficiency cores: unknown, never 0.
            for (const char* key :
                 {"socTemperature", "batteryPercentage", "batteryIsCharging", "batteryTimeToEmpty",
                  "powerDraw", "efficiencyRatio", "eClusterUsage"})
                QVERIFY2(o.value(QLatin1String(key)).isNull(), key);
        }
        const Run text = runOn("bare-vm", {"--headless", "--samples", "1"});
        QCOMPARE(text.exitCode, 0);
        const QByteArray line = text.out.trimmed();
        for (const char* item : {"Temp \u2014", "Battery \u2014", "Power \u2014",
                                 "Efficiency \u2014", "E-cores \u2014"})
            QVERIFY2(line.contains(QString::fromUtf8(item).toUtf8()), item);
    }

    void failedExportExitsNonZero() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), QStringLiteral("/nonexistent/pulsewick-test"));
        const Run r = runOn("bare-vm", {"--headless", "--samples", "1", "--export-csv"}, env);
        QVERIFY(r.exitCode != 0);
        QVERIFY(r.out.contains("Failed to write CSV: "));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
