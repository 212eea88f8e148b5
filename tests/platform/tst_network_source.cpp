#include "fixture_tree.h"
#include "platform/linux/linux_network_source.h"
#include "platform/linux/network_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

const char* kRouteHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::uint32_t ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return a << 24 | b << 16 | c << 8 | d;
}

using NetworkOn = SourceOn<LinuxNetworkSource>;

} // namespace

class TestNetworkSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void netDevRows() {
        const auto text =
            "Inter-|   Receive                            |  Transmit\n"
            " face |bytes    packets errs drop fifo frame compressed multicast|bytes\n"
            "    lo:    3267      29    0    0    0     0          0         0     "
            "3267      29    0    0    0     0       0          0\n"
            "eth0.100: 18446744073709551615 1 0 0 0 0 0 0 42 1 0 0 0 0 0 0\n"
            "  odd:name:123 1 0 0 0 0 0 0 456 1 0 0 0 0 0 0\n"
            "  cut0: 1 2 3 4 5\n"
            "  bad0: 1 2 3 4 5 6 7 8 x 1 0 0 0 0 0 0\n"
            "      : 1 2 3 4 5 6 7 8 9 1 0 0 0 0 0 0\n"
            "no separator at all\n"sv;
        const auto rows = parseNetDev(text);
        QVERIFY(rows);
        QCOMPARE(rows->size(), std::size_t(3));
        QCOMPARE((*rows)[0].name, std::string("lo"));
        QCOMPARE((*rows)[0].receivedBytes, std::uint64_t(3267));
        QCOMPARE((*rows)[1].name, std::string("eth0.100"));
        QCOMPARE((*rows)[1].receivedBytes, UINT64_MAX); // 64-bit counters
        QCOMPARE((*rows)[1].sentBytes, std::uint64_t(42));
        QCOMPARE((*rows)[2].name, std::string("odd:name"));
        QCOMPARE((*rows)[2].receivedBytes, std::uint64_t(123));
        QCOMPARE((*rows)[2].sentBytes, std::uint64_t(456));

        const auto headerOnly = parseNetDev("Inter-| a | b\n face |x|y\n"sv);
        QVERIFY(headerOnly && headerOnly->empty());
        QVERIFY(!parseNetDev(""sv));
        QVERIFY(!parseNetDev("  lo: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"sv));
    }

    void routesAndLocalAddresses() {
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

    void interfacesOfEachMachine() {
        NetworkOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto interfaces = laptop.source.interfaces();
        QVERIFY(interfaces);
        QCOMPARE(interfaces->size(), std::size_t(4));
        for (const auto& row : *interfaces) {
            QCOMPARE(row.backedByDevice, row.name == "wlp0s20f3");
        }
        QCOMPARE((*interfaces)[1].receivedBytes, std::uint64_t(1482003317));
        QCOMPARE((*interfaces)[1].sentBytes, std::uint64_t(92003110));

        const auto desktop = NetworkOn(fixturePath("amd-desktop")).source.interfaces();
        QVERIFY(desktop);
        QCOMPARE((*desktop)[1].receivedBytes, std::uint64_t(98765432109));
        QVERIFY((*desktop)[1].backedByDevice);
        QVERIFY(!(*desktop)[3].backedByDevice); // vnet0, a VM's tap

        const auto vm = NetworkOn(fixturePath("bare-vm")).source.interfaces();
        QVERIFY(vm);
        QCOMPARE(vm->size(), std::size_t(2));
        QVERIFY(!(*vm)[0].backedByDevice);
        QVERIFY((*vm)[1].backedByDevice);
    }

    void deviceFlagFollowsTheSetOfInterfaces() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        NetworkOn network(root.toStdString());
        QCOMPARE(network.source.interfaces()->at(2).backedByDevice, false);
        QVERIFY(writeFile(root + "/sys/class/net/docker0/device", ""));
        QCOMPARE(network.source.interfaces()->at(2).backedByDevice, false); // cached
        QVERIFY(writeFile(root + "/proc/net/dev", "Inter-| Receive | Transmit\n face |bytes|bytes\n"
                                                  " docker0: 5 0 0 0 0 0 0 0 6 0 0 0 0 0 0 0\n"));
        const auto renamed = network.source.interfaces();
        QCOMPARE(renamed->size(), std::size_t(1));
        QVERIFY(renamed->front().backedByDevice);
    }

    void defaultRouteOfEachMachine() {
        // Interface, wireless or not, and its address where the fib_trie gives it.
        const auto route = [](const char* machine) {
            const auto r = NetworkOn(fixturePath(machine)).source.defaultRoute();
            return !r ? std::string("-")
                      : r->interfaceName + (r->wireless ? " wireless " : " wired ") +
                            r->ipv4Address.value_or("-");
        };
        QCOMPARE(route("intel-hybrid-laptop"), std::string("wlp0s20f3 wireless 192.168.1.23"));
        QCOMPARE(route("amd-desktop"), std::string("enp5s0 wired 10.0.0.5"));
        QCOMPARE(route("arm-biglittle"), std::string("end0 wired -")); // no fib_trie
        QCOMPARE(route("bare-vm"), std::string("-")); // a route table without a default route
    }

    void brokenFilesGiveAbsent() {
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(writeFile(root + "/proc/net/dev", "Inter-| Receive"));
        QVERIFY(writeFile(root + "/proc/net/route", "Iface\tDestination\n\x01\x02garbage"));
        NetworkOn network(root.toStdString());
        QVERIFY(!network.source.interfaces());
        QVERIFY(!network.source.defaultRoute());

        NetworkOn nothing(dir.path().toStdString() + "/nothing-here");
        QVERIFY(!nothing.source.interfaces());
        QVERIFY(!nothing.source.defaultRoute());
    }
};

QTEST_GUILESS_MAIN(TestNetworkSource)
#include "tst_network_source.moc"
