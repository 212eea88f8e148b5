#include "probe_test_support.h"
#include "services/ping_service.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using pw::parseLatency;
using pw::PingService;
using pw::Polling;
using pw::test::EnvGuard;
using pw::test::fakeToolsDir;

namespace {
// A system whose ping_group_range leaves us out.
int refusedSocket() {
    return -EACCES;
}
} // namespace

class TestPingService : public QObject {
    Q_OBJECT

private:
    // Runs one probe and waits for its result.
    static void probeOnce(PingService& service) {
        QSignalSpy finished(&service, &PingService::probeFinished);
        QVERIFY(service.ping());
        QVERIFY(finished.wait(10000));
    }

private Q_SLOTS:
    void parsesOnlyWellFormedReplies_data() {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<double>("expected"); // negative: no value
        QTest::newRow("reply") << QByteArray("64 bytes from 127.0.0.1: icmp_seq=0 ttl=57 "
                                             "time=12.345 ms\n")
                               << 12.345;
        QTest::newRow("first of two") << QByteArray("time=1.5 ms\ntime=2.5 ms\n") << 1.5;
        QTest::newRow("below one") << QByteArray("time=<1 ms") << -1.0;
        QTest::newRow("no ms") << QByteArray("time=4.0\n") << -1.0;
        QTest::newRow("ms before time") << QByteArray(" ms time=4.0") << -1.0;
        QTest::newRow("no time") << QByteArray("Request timeout for icmp_seq 0\n") << -1.0;
        QTest::newRow("empty number") << QByteArray("time= ms") << -1.0;
        QTest::newRow("inner blank") << QByteArray("time= 4.0 ms") << -1.0;
        QTest::newRow("trailing text") << QByteArray("time=4.0x ms") << -1.0;
        QTest::newRow("not a number") << QByteArray("time=nan ms") << -1.0;
        QTest::newRow("empty") << QByteArray() << -1.0;
        QTest::newRow("not utf8") << QByteArray("\xff\xfe time=3.5 ms") << -1.0;
        QTest::newRow("case") << QByteArray("TIME=3.5 ms") << -1.0;
        QTest::newRow("decimal comma") << QByteArray("time=3,5 ms") << -1.0;
    }
    void parsesOnlyWellFormedReplies() {
        QFETCH(QByteArray, output);
        QFETCH(double, expected);
        const std::optional<double> value = parseLatency(output);
        if (expected < 0) {
            QVERIFY(!value);
        } else {
            QVERIFY(value);
            QCOMPARE(*value, expected);
        }
    }

    // Which outputs parse is the table above; here, what the service keeps of them.
    void storesEachOutputCase_data() {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<double>("expected");
        QTest::newRow("two replies") << QByteArray("two") << 12.5;
        QTest::newRow("garbage") << QByteArray("garbage") << 0.0;
        QTest::newRow("unreachable") << QByteArray("silent-fail") << 0.0;
        QTest::newRow("child sees LC_ALL=C") << QByteArray("locale") << 1.0;
    }
    void storesEachOutputCase() {
        QFETCH(QByteArray, mode);
        QFETCH(double, expected);
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("tools.log"));
        EnvGuard path("PATH", fakeToolsDir().toUtf8());
        EnvGuard pingMode("PW_FAKE_PING_MODE", mode);
        EnvGuard toolsLog("PW_FAKE_TOOLS_LOG", log.toUtf8());

        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual, refusedSocket);
        // A real value first, so a failure visibly resets it to 0.
        {
            EnvGuard good("PW_FAKE_PING_MODE", "");
            probeOnce(service);
            QCOMPARE(service.currentLatency().value_or(-1), 0.042);
        }
        QVERIFY(!service.usesEchoSocket()); // refused: ping runs instead
        QSignalSpy history(&service, &PingService::latencyHistoryChanged);
        probeOnce(service);
        QCOMPARE(service.currentLatency().value_or(0.0), expected);
        // A failure is never a round trip of 0 ms to a reader.
        QCOMPARE(service.knownLatencyHistory().last().has_value(), expected > 0.0);
        QCOMPARE(service.latencyHistory().size(), PingService::kHistoryLength);
        QCOMPARE(service.latencyHistory().last(), expected);
        QCOMPARE(service.latencyHistory().at(PingService::kHistoryLength - 2), 0.042);
        QCOMPARE(history.count(), 2); // removal, then append

        QFile recorded(log);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(recorded.readAll().split('\n').first(),
                 QByteArray("ping -n -c 1 -w 1 -- 127.0.0.1"));
    }

    void historyKeepsTheLastSixtyInOrder() {
        EnvGuard path("PATH", fakeToolsDir().toUtf8());
        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual, refusedSocket);
        QCOMPARE(service.latencyHistory(), QList<double>(60, 0.0));
        QVERIFY(!service.currentLatency());

        // After 61 probes the first one's value is gone: use a failure first.
        {
            EnvGuard mode("PW_FAKE_PING_MODE", "two");
            probeOnce(service);
        }
        QCOMPARE(service.latencyHistory().last(), 12.5);
        for (int i = 0; i < 60; ++i) {
            EnvGuard mode("PW_FAKE_PING_MODE", i < 50 ? "" : "garbage");
            probeOnce(service);
        }
        const QList<double>& history = service.latencyHistory();
        QCOMPARE(history.size(), 60);
        QVERIFY(!history.contains(12.5));
        QCOMPARE(history.first(), 0.042);
        QCOMPARE(history.at(49), 0.042);
        // Ten failures in a row leave ten zeros at the end.
        QCOMPARE(history.mid(50), QList<double>(10, 0.0));
        QVERIFY(!service.currentLatency());

        // An equal value stores silently; the history still notifies.
        EnvGuard mode("PW_FAKE_PING_MODE", "garbage");
        QSignalSpy current(&service, &PingService::currentLatencyChanged);
        QSignalSpy changes(&service, &PingService::latencyHistoryChanged);
        probeOnce(service);
        QCOMPARE(current.count(), 0);
        QCOMPARE(changes.count(), 2);
    }

    void stuckOrMissingPingFailsWithoutBlocking() {
        EnvGuard path("PATH", fakeToolsDir().toUtf8());
        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual, refusedSocket);
        {
            EnvGuard mode("PW_FAKE_PING_MODE", "");
            probeOnce(service);
        }
        EnvGuard mode("PW_FAKE_PING_MODE", "hang");
        service.setTimeoutMs(300);
        QSignalSpy finished(&service, &PingService::probeFinished);
        QVERIFY(service.ping());
        // At most one probe in flight.
        QVERIFY(service.probeInFlight());
        QVERIFY(!service.ping());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!service.currentLatency());
        QVERIFY(!service.probeInFlight());
    }

    void missingPingIsReportedOncePerStretch() {
        QTemporaryDir empty;
        EnvGuard toolsOnly("PATH", fakeToolsDir().toUtf8());
        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual, refusedSocket);
        pw::test::StdoutCapture out;
        {
            EnvGuard path("PATH", empty.path().toUtf8());
            for (int i = 0; i < 3; ++i) {
                probeOnce(service);
            }
        }
        probeOnce(service); // found again, and answers
        QCOMPARE(service.currentLatency().value_or(-1), 0.042);
        {
            EnvGuard path("PATH", empty.path().toUtf8());
            probeOnce(service);
            probeOnce(service);
        }
        const QStringList lines = out.text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QString& line : lines) {
            QVERIFY2(line.startsWith(QStringLiteral("Ping failed: ")), qPrintable(line));
            QVERIFY(line.size() > QStringLiteral("Ping failed: ").size());
        }
        QCOMPARE(service.latencyHistory().last(), 0.0);
    }

    void realProbeOfLoopback() {
        const QString ping = QStandardPaths::findExecutable(QStringLiteral("ping"));
        if (ping.isEmpty()) {
            QSKIP("ping is not installed");
        }
        // What this machine's ping can do (it may lack the right to open a raw socket).
        QProcess direct;
        direct.start(ping, {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                            QStringLiteral("-w"), QStringLiteral("1"), QStringLiteral("--"),
                            QStringLiteral("127.0.0.1")});
        QVERIFY(direct.waitForFinished(10000));
        const bool answers = parseLatency(direct.readAllStandardOutput()).has_value();

        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual);
        probeOnce(service);
        QCOMPARE(service.currentLatency().has_value(), answers || service.usesEchoSocket());
        QCOMPARE(service.latencyHistory().last(), service.currentLatency().value_or(0.0));
    }

    void echoSocketMeasuresLoopbackWithoutAChild() {
        QTemporaryDir empty;
        EnvGuard path("PATH", empty.path().toUtf8()); // no ping to fall back on
        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual);
        if (!service.usesEchoSocket())
            QSKIP("unprivileged ICMP sockets are refused here (net.ipv4.ping_group_range)");
        pw::test::StdoutCapture out;
        for (int i = 0; i < 3; ++i) {
            probeOnce(service);
            QVERIFY(service.currentLatency());
            QVERIFY(*service.currentLatency() > 0.0);
            QCOMPARE(service.latencyHistory().last(), *service.currentLatency());
        }
        QVERIFY(out.text().isEmpty());
    }

    void echoThatCannotBeSentIsAQuietFailure() {
        // A descriptor that takes no IPv4 datagram: the send fails at once.
        int pair[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair), 0);
        const int ours = pair[0];
        PingService service(QStringLiteral("127.0.0.1"), Polling::Manual, [ours] { return ours; });
        QVERIFY(service.usesEchoSocket());
        pw::test::StdoutCapture out;
        probeOnce(service);
        QVERIFY(!service.currentLatency());
        QVERIFY(!service.knownLatencyHistory().last());
        QVERIFY(!service.probeInFlight());
        QVERIFY(out.text().isEmpty()); // only a launch failure is logged
        ::close(pair[1]);
    }
};

QTEST_GUILESS_MAIN(TestPingService)
#include "tst_ping_service.moc"
