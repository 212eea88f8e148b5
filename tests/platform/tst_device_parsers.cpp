#include "platform/linux/device_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

const char* kRouteHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::uint32_t ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return a << 24 | b << 16 | c << 8 | d;
}

} // namespace

class TestDeviceParsers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void processFiles() {
        QCOMPARE(parseStatmResidentPages("2162 612 403 8 0 171 0\n"sv),
                 std::optional<std::uint64_t>(612));
        QVERIFY(!parseStatmResidentPages("2162\n"sv));
        QVERIFY(!parseStatmResidentPages("2162 -4 1\n"sv));

        const auto io = parseProcessIo("rchar: 323934931\nwchar: 323929600\nsyscr: 632687\n"
                                       "read_bytes: 2048\nwrite_bytes: 323932160\n"
                                       "cancelled_write_bytes: 0\n"sv);
        QCOMPARE(io.readBytes, std::optional<std::uint64_t>(2048));
        QCOMPARE(io.writeBytes, std::optional<std::uint64_t>(323932160));
        // rchar/wchar count page-cache hits too: they must not stand in.
        const auto partial = parseProcessIo("rchar: 5\nwchar: 7\nwrite_bytes: x\n"sv);
        QVERIFY(!partial.readBytes && !partial.writeBytes);
    }

    void clocks() {
        const auto mean = parseCpuinfoMHz("processor\t: 0\ncpu MHz\t\t: 2000.000\n\n"
                                          "processor\t: 1\ncpu MHz\t\t: 3000.500\n"
                                          "cpu MHz\t\t: bogus\n"sv);
        QVERIFY(mean);
        QCOMPARE(*mean, 2500.25);
        QVERIFY(!parseCpuinfoMHz("processor\t: 0\nBogoMIPS\t: 108.00\n"sv));
        QCOMPARE(parseKHzAsMHz("2100000\n"sv), std::optional<double>(2100.0));
        QVERIFY(!parseKHzAsMHz("0\n"sv));
        QVERIFY(!parseKHzAsMHz("<unknown>\n"sv));
    }

    void diskstats() {
        const auto text = "   8       0 sda 100 0 2000 10 50 0 4000 20 0 30 30 0 0 0 0\n"
                          "   8       1 sda1 90 0 1800 9 40 0 3600 18 0 27 27 0 0 0 0\n"
                          "   8      16 sdb 1 2\n"sv;
        const auto sda1 = parseDiskstats(text, "sda1");
        QVERIFY(sda1);
        QCOMPARE(sda1->sectorsRead, std::uint64_t(1800));
        QCOMPARE(sda1->sectorsWritten, std::uint64_t(3600));
        // "sda" is a prefix of "sda1": only the whole name matches.
        QCOMPARE(parseDiskstats(text, "sda")->sectorsRead, std::uint64_t(2000));
        QVERIFY(!parseDiskstats(text, "sdb"));
        QVERIFY(!parseDiskstats(text, "nvme0n1"));
    }

    void rootMount() {
        const auto text =
            "24 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
            "26 24 0:23 / /proc rw,nosuid shared:12 - proc proc rw\n"
            "90 24 0:50 / / rw master:1 shared:9 - overlay my\\040root rw,lowerdir=/a\n"sv;
        const auto mount = parseRootMount(text);
        QVERIFY(mount);
        // The later mount stacks over the first.
        QCOMPARE(mount->major, 0);
        QCOMPARE(mount->source, std::string("my root"));
        QCOMPARE(mount->fsType, std::string("overlay"));
        QVERIFY(!parseRootMount("26 24 0:23 / /proc rw - proc proc rw\n"sv));
        QVERIFY(!parseRootMount("24 1 259:2 / / rw shared:1\n"sv)); // no separator
        QCOMPARE(decodeEscapes("Debian\\x20Root\\x2"sv), std::string("Debian Root\\x2"));
    }

    void routes() {
        const std::string text = std::string(kRouteHeader) +
                                 "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
                                 "tun0\t00000000\t00000000\t0001\t0\t0\t50\t00000000\t0\t0\t0\n"
                                 "eth9\t00000000\t00000000\t0002\t0\t0\t1\t00000000\t0\t0\t0\n"
                                 "wlan0\t0001A8C0\t00000000\t0001\t0\t0\t600\t00FFFFFF\t0\t0\t0\n"
                                 "broken\tzz\n";
        const auto rows = parseRouteTable(text);
        QCOMPARE(rows.size(), std::size_t(4));
        QCOMPARE(rows[0].gateway, ip(192, 168, 1, 1));
        QCOMPARE(rows[3].mask, ip(255, 255, 255, 0));
        // The lowest metric among routes that are up; eth9's is down.
        QCOMPARE(defaultRouteInterface(rows), std::optional<std::string>("tun0"));
        QVERIFY(!defaultRouteInterface(parseRouteTable(kRouteHeader)));

        const auto trie = "Main:\n  +-- 0.0.0.0/0 3 0 5\n"
                          "     |-- 127.0.0.1\n        /32 host LOCAL\n"
                          "     +-- 172.17.0.0/16 2 0 2\n"
                          "        |-- 172.17.0.1\n           /32 host LOCAL\n"
                          "        |-- 192.168.1.23\n           /32 host LOCAL\n"
                          "        |-- 192.168.1.255\n           /32 link BROADCAST\n"
                          "Local:\n     |-- 192.168.1.23\n        /32 host LOCAL\n"sv;
        const auto local = parseFibTrieLocalAddresses(trie);
        QCOMPARE(local, (std::vector<std::uint32_t>{ip(127, 0, 0, 1), ip(172, 17, 0, 1),
                                                    ip(192, 168, 1, 23)}));
        // Only an address inside wlan0's own subnet is wlan0's.
        QCOMPARE(interfaceAddress(rows, local, "wlan0"),
                 std::optional<std::uint32_t>(ip(192, 168, 1, 23)));
        QVERIFY(!interfaceAddress(rows, local, "tun0"));
        QCOMPARE(formatIPv4(ip(10, 0, 0, 255)), std::string("10.0.0.255"));
    }

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
};

QTEST_GUILESS_MAIN(TestDeviceParsers)
#include "tst_device_parsers.moc"
