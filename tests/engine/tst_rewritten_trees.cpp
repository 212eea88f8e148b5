// The store over the Linux sources of a machine tree that the test rewrites
// between cycles: figures a real machine can put in front of the engine.
#include "../platform/fixture_tree.h"
#include "platform/linux/linux_sources.h"
#include "services/system_stats_provider.h"

#include <QDirIterator>
#include <QtTest>

using namespace pw;

namespace {

struct Machine {
    QTemporaryDir dir;
    QString root;
    std::shared_ptr<platform::FakeClock> clock = std::make_shared<platform::FakeClock>();
    std::unique_ptr<SystemStatsProvider> store;

    explicit Machine(const char* fixture) {
        root = copyFixture(QString::fromLatin1(fixture), dir);
        if (root.isEmpty())
            return;
        platform::Sources sources = platform::makeLinuxSources(root.toStdString() + "/");
        sources.clock = clock; // the rates divide by the seconds this clock says passed
        store = std::make_unique<SystemStatsProvider>(
            sources, std::make_shared<platform::FakeDesktopNotifier>(), [] { return 100.0; });
    }
    bool write(const QString& path, const QByteArray& content) const {
        return writeFile(root + path, content);
    }
    void cycle() {
        clock->advance(1.0);
        store->updateStats();
    }
};

QByteArray netDev(std::uint64_t received) {
    return "Inter-|   Receive |  Transmit\n"
           " face |bytes packets errs drop fifo frame compressed multicast|bytes\n"
           "    lo: 999 1 0 0 0 0 0 0 999 1 0 0 0 0 0 0\n"
           "  ens3: " +
           QByteArray::number(static_cast<qulonglong>(received)) +
           " 1 0 0 0 0 0 0 1000 1 0 0 0 0 0 0\n";
}

QByteArray battery(const char* status, const char* capacity) {
    return QByteArray("POWER_SUPPLY_NAME=BAT0\nPOWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=") +
           status +
           "\nPOWER_SUPPLY_POWER_NOW=9472000\nPOWER_SUPPLY_ENERGY_FULL=52110000\n"
           "POWER_SUPPLY_ENERGY_NOW=38415000\nPOWER_SUPPLY_CAPACITY=" +
           capacity + "\n";
}

} // namespace

class TestRewrittenTrees : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Time a CPU spends running a virtual machine is time it is busy.
    void guestTimeIsBusy() {
        Machine host("bare-vm");
        QVERIFY(host.store);
        // user nice system idle iowait irq softirq steal guest guest_nice
        QVERIFY(host.write("/proc/stat", "cpu0 1000 100 0 5000 0 0 0 0 900 100\n"
                                         "cpu1 1000 0 0 5000 0 0 0 0 0 0\n"));
        host.cycle();
        // cpu0 only runs guests (their time is inside user and nice), cpu1 only
        // plain user code: both are fully busy.
        QVERIFY(host.write("/proc/stat", "cpu0 1900 200 0 5000 0 0 0 0 1800 200\n"
                                         "cpu1 2000 0 0 5000 0 0 0 0 0 0\n"));
        host.cycle();
        QCOMPARE(host.store->snapshot().cpu.coreUsagePercent, (QList<double>{100.0, 100.0}));
        QCOMPARE(host.store->cpuUsage(), 100.0);
    }

    void networkRateAfterAGapIsTheTrueRate() {
        Machine vm("bare-vm");
        QVERIFY(vm.store);
        std::uint64_t received = 5'000'000;
        QVERIFY(vm.write("/proc/net/dev", netDev(received)));
        vm.cycle();
        const QString dev = vm.root + "/proc/net/dev";
        QVERIFY(replaceWithDirectory(dev)); // unreadable for three cycles
        for (int i = 0; i < 3; ++i)
            vm.cycle();
        QVERIFY(QDir(dev).removeRecursively());
        received += 4 * 977 * 1024; // 977 KB every second of the four
        QVERIFY(vm.write("/proc/net/dev", netDev(received)));
        vm.cycle();
        QCOMPARE(vm.store->networkDownload(), 977.0);
    }

    void batteryReadsWhatItSays() {
        Machine laptop("intel-hybrid-laptop");
        QVERIFY(laptop.store);
        const QString bat = "/sys/class/power_supply/BAT0/";
        QVERIFY(laptop.write(bat + "uevent", battery("Full", "100")));
        QVERIFY(laptop.write(bat + "status", "Full\n"));
        QVERIFY(laptop.write(bat + "capacity", "100\n"));
        QVERIFY(laptop.write("/sys/class/power_supply/AC/online", "1\n"));
        laptop.cycle();
        QCOMPARE(laptop.store->batteryState(), std::optional(BatteryState::Full));
        QCOMPARE(laptop.store->batteryIsCharging(), std::optional(false));
        QCOMPARE(laptop.store->batteryPercentage(), std::optional<qint64>(100));

        // A gauge that reads −73 % is broken; so is the time left worked out from it.
        QVERIFY(laptop.write(bat + "uevent", battery("Discharging", "-73")));
        QVERIFY(laptop.write(bat + "status", "Discharging\n"));
        QVERIFY(laptop.write(bat + "capacity", "-73\n"));
        laptop.cycle();
        QCOMPARE(laptop.store->batteryState(), std::optional(BatteryState::Discharging));
        QVERIFY(!laptop.store->batteryPercentage());
        QVERIFY(!laptop.store->batteryTimeToEmpty());
        QCOMPARE(laptop.store->powerDraw().value_or(-1), 9.472);
    }

    void clockOfAllOnesIsUnknown() {
        Machine laptop("intel-hybrid-laptop");
        QVERIFY(laptop.store);
        laptop.cycle();
        QVERIFY(laptop.store->snapshot().cpu.clockGHz);
        QDirIterator it(laptop.root + "/sys/devices/system/cpu/cpufreq",
                        {QStringLiteral("scaling_cur_freq")}, QDir::Files,
                        QDirIterator::Subdirectories);
        int policies = 0;
        for (; it.hasNext(); ++policies)
            QVERIFY(writeFile(it.next(), "18446744073709551615\n"));
        QVERIFY(policies > 0);
        laptop.cycle();
        QVERIFY(!laptop.store->snapshot().cpu.clockGHz);
    }

    void swapTotalIsTheMachines() {
        Machine vm("bare-vm");
        QVERIFY(vm.store);
        vm.cycle();
        QCOMPARE(vm.store->snapshot().memory.swapTotalGB, std::optional(0.0));
        QCOMPARE(vm.store->memorySwap(), 0.0);
        // 11.6 GB of swap with 2.0 GB of it in use.
        QFile meminfo(vm.root + "/proc/meminfo");
        QVERIFY(meminfo.open(QIODevice::ReadOnly));
        QByteArray text = meminfo.readAll();
        meminfo.close();
        text.replace("SwapTotal:             0 kB", "SwapTotal:      12163482 kB");
        text.replace("SwapFree:              0 kB", "SwapFree:       10066330 kB");
        QVERIFY(vm.write("/proc/meminfo", text));
        vm.cycle();
        QCOMPARE(qRound(*vm.store->snapshot().memory.swapTotalGB * 10), 116);
        QCOMPARE(qRound(vm.store->memorySwap() * 10), 20);
    }
};

QTEST_GUILESS_MAIN(TestRewrittenTrees)
#include "tst_rewritten_trees.moc"
