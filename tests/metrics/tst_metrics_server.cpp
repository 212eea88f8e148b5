#include "app/metrics/metrics_endpoint.h"
#include "app/metrics/metrics_server.h"

#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace pw::app;
using namespace std::chrono_literals;

namespace {

// A client driven by the test's event loop, so the server in the same thread
// keeps running while the test waits.
class Client {
public:
    explicit Client(quint16 port) {
        QObject::connect(&m_socket, &QTcpSocket::readyRead,
                         [this] { m_received += m_socket.readAll(); });
        m_socket.connectToHost(QHostAddress::LocalHost, port);
    }
    bool connected() {
        return QTest::qWaitFor([&] { return m_socket.state() == QAbstractSocket::ConnectedState; });
    }
    void send(const QByteArray& bytes) { m_socket.write(bytes); }
    // Waits for `count` whole responses; each ends with the body its Content-Length gives.
    bool responses(int count) {
        return QTest::qWaitFor([&] { return complete() >= count; }, 10000);
    }
    bool closedByServer() {
        return QTest::qWaitFor(
            [&] { return m_socket.state() == QAbstractSocket::UnconnectedState; }, 10000);
    }
    const QByteArray& received() const { return m_received; }

private:
    int complete() const {
        int n = 0;
        qsizetype at = 0;
        for (;;) {
            const qsizetype end = m_received.indexOf("\r\n\r\n", at);
            if (end < 0)
                return n;
            const qsizetype field = m_received.indexOf("Content-Length: ", at);
            const qsizetype length =
                m_received.mid(field + 16, m_received.indexOf('\r', field) - field - 16)
                    .toLongLong();
            at = end + 4 + length;
            if (at > m_received.size())
                return n;
            ++n;
        }
    }

    QTcpSocket m_socket;
    QByteArray m_received;
};

const QByteArray kScrape = "GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n";

} // namespace

class TestMetricsServer : public QObject {
    Q_OBJECT
private:
    int m_renders = 0;
    std::unique_ptr<MetricsEndpoint> m_endpoint;
    std::unique_ptr<MetricsServer> m_server;

    void start(HttpLimits limits) {
        m_renders = 0;
        m_endpoint = std::make_unique<MetricsEndpoint>([this](pw::metrics::MetricsFormat f) {
            ++m_renders;
            return f == pw::metrics::MetricsFormat::OpenMetrics ? QByteArray("om 1\n# EOF\n")
                                                                : QByteArray("text 1\n");
        });
        m_server = std::make_unique<MetricsServer>(
            [this](const HttpRequest& r) { return m_endpoint->answer(r); }, limits);
        QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
    }

    // A scraper that behaves still gets its figures.
    void scrapeSucceeds() {
        Client scraper(m_server->port());
        scraper.send(kScrape);
        QVERIFY(scraper.responses(1));
        QVERIFY(scraper.received().startsWith("HTTP/1.1 200 OK\r\n"));
        QVERIFY(scraper.received().endsWith("\r\n\r\ntext 1\n"));
    }

private Q_SLOTS:
    void servesThePagesAndRefusesTheRest() {
        start({});
        Client c(m_server->port());
        c.send(kScrape + "GET /metrics HTTP/1.1\r\nAccept: application/openmetrics-text\r\n\r\n" +
               "GET /?a=b HTTP/1.1\r\n\r\n" + "GET /secret HTTP/1.1\r\n\r\n" +
               "DELETE /metrics HTTP/1.1\r\n\r\n" + "POST /nowhere HTTP/1.1\r\n\r\n" + kScrape);
        QVERIFY(c.responses(7));
        const QByteArray all = c.received();
        QCOMPARE(all.count("HTTP/1.1 200 OK"), 4);
        QVERIFY(all.contains("Content-Type: text/plain; version=0.0.4; charset=utf-8\r\n"
                             "Content-Length: 7\r\n\r\ntext 1\n"));
        QVERIFY(all.contains("Content-Type: application/openmetrics-text; version=1.0.0"));
        QVERIFY(all.contains("<a href=\"/metrics\">"));
        QCOMPARE(all.count("HTTP/1.1 404 Not Found"), 2); // an unknown path, whatever the method
        QVERIFY(all.contains("HTTP/1.1 405 Method Not Allowed\r\n"));
        QVERIFY(all.contains("Allow: GET, HEAD\r\n"));
        QCOMPARE(all.count("Connection: close"), 0);
        // One rendering per format while the figures stay the same.
        QCOMPARE(m_renders, 2);
        m_endpoint->invalidate();
        scrapeSucceeds();
        QCOMPARE(m_renders, 3);
    }

    void headRequestsGetNoBody() {
        start({});
        Client c(m_server->port());
        c.send("HEAD /metrics HTTP/1.0\r\n\r\n");
        QVERIFY(c.closedByServer()); // HTTP/1.0 without keep-alive
        QVERIFY(c.received().contains("Content-Length: 7\r\nConnection: close\r\n\r\n"));
        QVERIFY(c.received().endsWith("\r\n\r\n"));
    }

    void cutsOffOversizedAndBrokenRequests_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("1 MB header")
            << "GET /metrics HTTP/1.1\r\nX: " + QByteArray(1 << 20, 'a') << QByteArray("431");
        QTest::newRow("large body")
            << QByteArray("POST /metrics HTTP/1.1\r\nContent-Length: 9000\r\n\r\n") +
                   QByteArray(9000, 'b')
            << QByteArray("413");
        QTest::newRow("garbage") << QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\r\n\r\n", 13)
                                 << QByteArray("400");
        QTest::newRow("http/2") << QByteArray("PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n")
                                << QByteArray("400");
    }
    void cutsOffOversizedAndBrokenRequests() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, status);
        start({});
        Client c(m_server->port());
        QVERIFY(c.connected());
        c.send(bytes);
        QVERIFY(c.closedByServer());
        QVERIFY2(c.received().startsWith("HTTP/1.1 " + status), c.received().left(40).constData());
        QVERIFY(QTest::qWaitFor([&] { return m_server->connectionCount() == 0; }));
        scrapeSucceeds();
    }

    // A client that sends nothing, or a request that never ends, is cut off.
    void cutsOffIdleClients() {
        start({8 * 1024, 64, 300ms});
        Client idle(m_server->port());
        Client slow(m_server->port());
        QVERIFY(slow.connected());
        slow.send("GET /metrics HTTP/1.1\r\n");
        QTest::qWait(100);
        slow.send("Host: x\r\n"); // still not the whole request
        QVERIFY(idle.closedByServer());
        QVERIFY(slow.closedByServer());
        QVERIFY(idle.received().isEmpty());
        QVERIFY(QTest::qWaitFor([&] { return m_server->connectionCount() == 0; }));
        scrapeSucceeds();
    }

    // Past the limit the client that kept its connection waiting longest goes.
    void newcomersDisplaceTheLongestWaiting() {
        start({8 * 1024, 4, 60s});
        std::vector<std::unique_ptr<Client>> idle;
        for (int i = 0; i < 10; ++i) {
            idle.push_back(std::make_unique<Client>(m_server->port()));
            QVERIFY(idle.back()->connected());
            QVERIFY(
                QTest::qWaitFor([&] { return m_server->connectionCount() == std::min(i + 1, 4); }));
        }
        QVERIFY(idle.front()->closedByServer());
        scrapeSucceeds();
        QVERIFY(m_server->connectionCount() <= 4);
    }

    void cleanup() {
        m_server.reset();
        m_endpoint.reset();
    }
};

QTEST_GUILESS_MAIN(TestMetricsServer)
#include "tst_metrics_server.moc"
