#include "fixture_tree.h"
#include "platform/linux/linux_connection_source.h"
#include "platform/linux/tcp_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

std::vector<std::string> remotes(const std::vector<TcpConnection>& connections) {
    std::vector<std::string> addresses;
    for (const auto& connection : connections) {
        addresses.push_back(connection.remoteAddress + ":" + std::to_string(connection.remotePort));
    }
    return addresses;
}

using ConnectionsOn = SourceOn<LinuxConnectionSource>;

// One ESTABLISHED row of /proc/net/tcp; all are the same length.
QByteArray tcpRow(int slot, const char* remote) {
    return QByteArray::number(slot).rightJustified(4) + ": 1701A8C0:D2A4 " + remote +
           ":01BB 01 00000000:00000000 00:00000000 00000000  1000        0 40002 1 "
           "0000000000000000 20 4 30 10 -1\n";
}

} // namespace

class TestConnectionSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tcpTables() {
        const auto v4 =
            "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid\n"
            "   0: 0100007F:0277 00000000:0000 0A 00000000:00000000 00:00000000 00000000 0 0 1 1\n"
            "   1: 1701A8C0:D2A4 15708C8C:01BB 01 00000000:00000000 00:00000000 00000000 1000 0 2 "
            "1\n"
            "   2: 1701A8C0:D2A5 45016597:01BB 06 00000000:00000000 00:00000000 00000000 0 0 0 1\n"
            "   3: 1701A8C0:D2A6 45016597:01BB 01 00000000:0000\n"sv;
        const auto connections = parseTcpTable(v4, false);
        QCOMPARE(connections.size(), std::size_t(1)); // LISTEN, TIME_WAIT and a cut row dropped
        QCOMPARE(connections[0].localAddress, std::string("192.168.1.23"));
        QCOMPARE(connections[0].localPort, 53924);
        QCOMPARE(connections[0].remoteAddress, std::string("140.140.112.21"));
        QCOMPARE(connections[0].remotePort, 443);

        const auto v6 =
            "  sl  local_address                         remote_address                        st\n"
            "   0: 0000000000000000FFFF00001701A8C0:0016 0000000000000000FFFF00003201A8C0:C738 01 "
            "00000000:00000000 00:00000000 00000000 0 0 1 1\n"
            "   1: 0000000000000000000000000100000:1388 00000000000000000000000001000000:8CA0 01 "
            "00000000:00000000 00:00000000 00000000 0 0 1 1\n"
            "   2: 00000000000000000000000001000000:1388 00000000000000000000000001000000:8CA0 01 "
            "00000000:00000000 00:00000000 00000000 0 0 1 1\n"
            "   3: 0050A000000000000000000000000000:01BB 5014002A2B080140000000000E200000:01BB 01 "
            "00000000:00000000 00:00000000 00000000 0 0 1 1\n"sv;
        const auto six = parseTcpTable(v6, true);
        QCOMPARE(six.size(), std::size_t(3));                        // row 1 has a short address
        QCOMPARE(six[0].remoteAddress, std::string("192.168.1.50")); // IPv4-mapped
        QCOMPARE(six[1].remoteAddress, std::string("::1"));
        QCOMPARE(six[2].remoteAddress, std::string("2a00:1450:4001:82b::200e"));
        QVERIFY(isLoopbackAddress(six[1].remoteAddress));
        QVERIFY(isLoopbackAddress("127.0.0.53"));
        QVERIFY(!isLoopbackAddress(six[2].remoteAddress));
    }

    void outsidePeersComeBeforeLoopback() {
        ConnectionsOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto connections = laptop.source.established(3);
        QVERIFY(connections);
        QCOMPARE(remotes(*connections),
                 std::vector<std::string>(
                     {"140.82.112.21:443", "151.101.1.69:443", "2a00:1450:4001:82b::200e:443"}));
        QCOMPARE(laptop.source.established(1)->size(), std::size_t(1));

        // Only listening sockets and no tcp6: readable, but nothing established.
        const auto desktop = ConnectionsOn(fixturePath("amd-desktop")).source.established(3);
        QVERIFY(desktop && desktop->empty());
        // Neither table: unknown.
        QVERIFY(!ConnectionsOn(fixturePath("bare-vm")).source.established(3));
    }

    void bigAndBrokenTables() {
        QTemporaryDir dir;
        const QString root = copyFixture("amd-desktop", dir);
        QVERIFY(!root.isEmpty());
        ConnectionsOn desktop(root.toStdString());

        // A server's table runs to megabytes: only its first 64 KiB are read, and
        // the row cut there is dropped; the outside peer at the very end is never
        // seen.
        const QByteArray header = "  sl  local_address rem_address   st tx_queue rx_queue\n";
        QByteArray big = header;
        for (int slot = 0; slot < 600; ++slot) {
            big += tcpRow(slot, "0100007F");
        }
        big += tcpRow(600, "15708C8C");
        QVERIFY(writeFile(root + "/proc/net/tcp", big));
        const auto capped = desktop.source.established(1000);
        QVERIFY(capped);
        const auto wholeRows = (64 * 1024 - header.size()) / tcpRow(0, "0100007F").size();
        QCOMPARE(capped->size(), std::size_t(wholeRows));
        QCOMPARE(capped->back().remoteAddress, std::string("127.0.0.1"));

        QVERIFY(writeFile(root + "/proc/net/tcp", "  sl  local_address rem_address   st\n"
                                                  "   0: 0100007F:0277 garbage\n"));
        const auto garbled = desktop.source.established(3);
        QVERIFY(garbled && garbled->empty());
    }
};

QTEST_GUILESS_MAIN(TestConnectionSource)
#include "tst_connection_source.moc"
