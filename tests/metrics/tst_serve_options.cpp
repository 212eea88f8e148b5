#include "app/command_line.h"

#include <QTest>

using namespace pw::app;
using Action = CommandLineResult::Action;

class TestServeOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesServe_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("host"); // empty: refused with status 2
        QTest::addColumn<int>("port");
        QTest::newRow("default") << QStringList{"--serve"} << "127.0.0.1" << 19189;
        QTest::newRow("then an option")
            << QStringList{"--serve", "--latency-host", "127.0.0.1"} << "127.0.0.1" << 19189;
        QTest::newRow("address") << QStringList{"--serve", "0.0.0.0:9999", "--root", "/x"}
                                 << "0.0.0.0" << 9999;
        QTest::newRow("inline ipv6") << QStringList{"--serve=[::1]:0"} << "::1" << 0;
        QTest::newRow("localhost") << QStringList{"--serve=localhost:1"} << "127.0.0.1" << 1;
        QTest::newRow("bare ipv6") << QStringList{"--serve=::1:80"} << "" << 0;
        QTest::newRow("no port") << QStringList{"--serve=127.0.0.1"} << "" << 0;
        QTest::newRow("port only") << QStringList{"--serve=:80"} << "" << 0;
        QTest::newRow("big port") << QStringList{"--serve=127.0.0.1:65536"} << "" << 0;
        QTest::newRow("host name") << QStringList{"--serve=example.org:80"} << "" << 0;
        QTest::newRow("with samples")
            << QStringList{"--serve", "--samples", "3"} << "127.0.0.1" << 19189;
        QTest::newRow("bad address") << QStringList{"--serve", "somewhere"} << "" << 0;
        QTest::newRow("with json") << QStringList{"--serve", "--json"} << "" << 0;
        QTest::newRow("with headless") << QStringList{"--headless", "--serve"} << "" << 0;
        QTest::newRow("with dashboard") << QStringList{"--serve", "--dashboard"} << "" << 0;
    }
    void parsesServe() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, host);
        QFETCH(int, port);
        const CommandLineResult result = parseCommandLine(arguments);
        if (host.isEmpty()) {
            QCOMPARE(result.action, Action::Error);
            QVERIFY(!result.error.isEmpty());
            return;
        }
        QCOMPARE(result.action, Action::Run);
        QVERIFY(result.options.serve);
        QCOMPARE(result.options.serve->host, host);
        QCOMPARE(result.options.serve->port, quint16(port));
    }
};

QTEST_GUILESS_MAIN(TestServeOptions)
#include "tst_serve_options.moc"
