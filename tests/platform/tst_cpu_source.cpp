#include "fixture_tree.h"
#include "platform/linux/cpu_parsers.h"
#include "platform/linux/linux_cpu_source.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

bool near(std::optional<double> value, double expected) {
    return value && std::abs(*value - expected) < 1e-6;
}

using CpuOn = SourceOn<LinuxCpuSource>;

} // namespace

class TestCpuSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ticksFoldStatesAndKeepKernelNumbers() {
        const auto text = "cpu  900 90 300 9000 30 3 6 9 120 12\n"
                          "cpu0 500 50 100 4000 10 1 2 3 100 10\n"
                          "cpu1 400 40 200 5000 20 2 4 6 20 2\n"
                          "cpu3 7 8 9 10 1 1 1 1 9 9\n" // cpu2 is offline
                          "intr 123 4 5\n"
                          "ctxt 99\n"sv;
        const auto rows = parseCpuTicks(text);
        QVERIFY(rows);
        QCOMPARE(rows->size(), std::size_t(3));
        // guest and guest_nice stay inside user and nice: a guest keeps its CPU busy.
        const CpuTicks cpu0{0, 500, 106, 4010, 50};
        QVERIFY((*rows)[0] == cpu0);
        QCOMPARE((*rows)[1].system, std::uint64_t(212));
        QCOMPARE((*rows)[2].cpu, 3);
        QCOMPARE((*rows)[2].user, std::uint64_t(7)); // odd guest figures change nothing
        QCOMPARE((*rows)[2].nice, std::uint64_t(8));

        // A cut-off or garbled row is dropped alone.
        const auto broken = parseCpuTicks("cpu0 1 2 3 4 5 6 7 8 9 10\n"
                                          "cpu1 1 2 3 4 5\n"
                                          "cpu2 1 2 x 4 5 6 7 8 9 10\n"
                                          "cpuX 1 2 3 4 5 6 7 8 9 10\n"
                                          "cpu3 1 2 3 4 5 6 7 8 9 10"sv);
        QVERIFY(broken);
        QCOMPARE(broken->size(), std::size_t(2));
        QCOMPARE((*broken)[1].cpu, 3);

        QVERIFY(!parseCpuTicks(""sv));
        QVERIFY(!parseCpuTicks("cpu  1 2 3 4 5 6 7 8 9 10\nintr 1\n"sv));
        QVERIFY(!parseCpuTicks("\0\0\0garbage"sv));
    }

    void cpuList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QList<int>>("cpus");
        QList<int> sixteenAndTwenty;
        for (int i = 0; i <= 15; ++i) {
            sixteenAndTwenty << i;
        }
        sixteenAndTwenty << 20;
        QTest::newRow("ranges") << "0-15,20\n" << true << sixteenAndTwenty;
        QTest::newRow("hole") << "0-1,3" << true << QList<int>{0, 1, 3};
        QTest::newRow("empty") << "" << true << QList<int>{};
        QTest::newRow("only newline") << "\n" << true << QList<int>{};
        QTest::newRow("words") << "all" << false << QList<int>{};
        QTest::newRow("reversed") << "7-3" << false << QList<int>{};
        QTest::newRow("double comma") << "1,,2" << false << QList<int>{};
        QTest::newRow("negative") << "-1" << false << QList<int>{};
        QTest::newRow("open range") << "4-" << false << QList<int>{};
        QTest::newRow("absurd") << "0-2000000000" << false << QList<int>{};
    }
    void cpuList() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QList<int>, cpus);
        const std::string utf8 = text.toStdString();
        const auto parsed = parseCpuList(utf8);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(QList<int>(parsed->begin(), parsed->end()), cpus);
        }
    }

    void clockTexts() {
        const auto mean = parseCpuinfoMHz("processor\t: 0\ncpu MHz\t\t: 2000.000\n\n"
                                          "processor\t: 1\ncpu MHz\t\t: 3000.500\n"
                                          "cpu MHz\t\t: bogus\n"sv);
        QCOMPARE(mean, std::optional<double>(2500.25));
        QVERIFY(!parseCpuinfoMHz("processor\t: 0\nBogoMIPS\t: 108.00\n"sv));
        QCOMPARE(parseKHzAsMHz("2100000\n"sv), std::optional<double>(2100.0));
        QVERIFY(!parseKHzAsMHz("0\n"sv));
        QVERIFY(!parseKHzAsMHz("<unknown>\n"sv));
        QCOMPARE(countAffectedCpus("0 1 2 3\n"sv), 4);
        QCOMPARE(countAffectedCpus("\n"sv), 0);
    }

    void topologyOfEachMachine() {
        const auto hybrid = CpuOn(fixturePath("intel-hybrid-laptop")).source.coreTopology();
        QCOMPARE(hybrid.performanceLevel0, std::optional<int>(12));
        QCOMPARE(hybrid.performanceLevel1, std::optional<int>(8));
        QCOMPARE(hybrid.efficiencyCpus,
                 std::optional<std::vector<int>>({12, 13, 14, 15, 16, 17, 18, 19}));

        const auto desktop = CpuOn(fixturePath("amd-desktop")).source.coreTopology();
        QCOMPARE(desktop.performanceLevel0, std::optional<int>(16));
        QVERIFY(!desktop.performanceLevel1);
        QVERIFY(!desktop.efficiencyCpus);

        const auto arm = CpuOn(fixturePath("arm-biglittle")).source.coreTopology();
        QCOMPARE(arm.performanceLevel0, std::optional<int>(4));
        QCOMPARE(arm.performanceLevel1, std::optional<int>(4));
        QCOMPARE(arm.efficiencyCpus, std::optional<std::vector<int>>({0, 1, 2, 3}));

        QCOMPARE(CpuOn(fixturePath("zram-zswap")).source.coreTopology().performanceLevel0,
                 std::optional<int>(4));

        // An offline big core is in neither count.
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(writeFile(root + "/sys/devices/system/cpu/online", "0-5,7\n"));
        const auto reduced = CpuOn(root.toStdString()).source.coreTopology();
        QCOMPARE(reduced.performanceLevel0, std::optional<int>(3));
        QCOMPARE(reduced.performanceLevel1, std::optional<int>(4));
    }

    void ticksOfEachMachine() {
        CpuOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto cpus = laptop.source.cpuTicks();
        QVERIFY(cpus);
        QCOMPARE(cpus->size(), std::size_t(20));
        QCOMPARE(cpus->back().cpu, 19);

        // A running guest: its time is inside user and nice and stays there.
        const auto desktop = CpuOn(fixturePath("amd-desktop")).source.cpuTicks();
        QVERIFY(desktop);
        QCOMPARE(desktop->front().user, std::uint64_t(250000));
        QCOMPARE(desktop->front().nice, std::uint64_t(5000));
        QCOMPARE(desktop->front().system, std::uint64_t(60000 + 1200 + 3400));
        QCOMPARE(desktop->front().idle, std::uint64_t(2000000 + 9000));

        QTemporaryDir dir;
        const QString root = copyFixture("bare-vm", dir);
        QVERIFY(!root.isEmpty());
        CpuOn vm(root.toStdString());
        const auto vmCpus = vm.source.cpuTicks();
        QVERIFY(vmCpus);
        QCOMPARE(vmCpus->size(), std::size_t(3));
        QCOMPARE((*vmCpus)[2].cpu, 3);                                 // cpu2 is offline
        QCOMPARE((*vmCpus)[0].system, std::uint64_t(2000 + 50 + 700)); // steal counts as system
        QCOMPARE(vm.source.coreTopology().performanceLevel0, std::optional<int>(3));
        // Without the online list the CPU rows are counted.
        QVERIFY(QFile::remove(root + "/sys/devices/system/cpu/online"));
        const auto fallback = vm.source.coreTopology();
        QCOMPARE(fallback.performanceLevel0, std::optional<int>(3));
        QVERIFY(!fallback.performanceLevel1);
    }

    void ticksAreReadFreshEachTime() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        CpuOn cpu(root.toStdString());
        QVERIFY(cpu.source.cpuTicks());
        QVERIFY(writeFile(root + "/proc/stat", "cpu  9 9 9 9 9 9 9 9 0 0\n"
                                               "cpu0 1 0 1 5 0 0 0 0 0 0\n"));
        const auto after = cpu.source.cpuTicks();
        QVERIFY(after);
        QCOMPARE(after->size(), std::size_t(1));
        QCOMPARE(after->front().idle, std::uint64_t(5));

        // A big server's /proc/stat is many times the first read's size.
        QByteArray big = "cpu  1 2 3 4 5 6 7 8 0 0\n";
        for (int n = 0; n < 384; ++n) {
            big += "cpu" + QByteArray::number(n) + " 123456789 0 23456789 987654321 1234 0 " +
                   QByteArray::number(n) + " 0 0 0\n";
        }
        QVERIFY(writeFile(root + "/proc/stat", big));
        const auto many = cpu.source.cpuTicks();
        QVERIFY(many);
        QCOMPARE(many->size(), std::size_t(384));
        QCOMPARE(many->back().system, std::uint64_t(23456789 + 383));
    }

    void brokenFilesGiveAbsent() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(replaceWithDirectory(root + "/proc/stat"));
        QVERIFY(writeFile(root + "/sys/devices/cpu_atom/cpus", "twelve\n"));
        QVERIFY(writeFile(root + "/sys/devices/system/cpu/online", "0-3\n"));
        CpuOn cpu(root.toStdString());
        QVERIFY(!cpu.source.cpuTicks());
        // Garbage in the hybrid list: treated as an ordinary machine.
        const auto topology = cpu.source.coreTopology();
        QCOMPARE(topology.performanceLevel0, std::optional<int>(4));
        QVERIFY(!topology.efficiencyCpus);

        CpuOn nothing(dir.path().toStdString() + "/nothing-here");
        QVERIFY(!nothing.source.cpuTicks());
        QVERIFY(!nothing.source.coreTopology().performanceLevel0);
        QVERIFY(!nothing.source.clockMHz());
    }

    void clockOfEachMachine() {
        QVERIFY(near(CpuOn(fixturePath("intel-hybrid-laptop")).source.clockMHz(), 2880.0));
        QVERIFY(near(CpuOn(fixturePath("amd-desktop")).source.clockMHz(), 3900.0));
        // No cpufreq: the cpuinfo mean.
        QVERIFY(near(CpuOn(fixturePath("bare-vm")).source.clockMHz(), 2394.456));
        // big.LITTLE: each policy weighs as many CPUs as it drives.
        QVERIFY(near(CpuOn(fixturePath("arm-biglittle")).source.clockMHz(), 1716.0));
    }

    void clockFollowsPoliciesAtTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(!root.isEmpty());
        const QString cpufreq = root + "/sys/devices/system/cpu/cpufreq/";
        CpuOn cpu(root.toStdString());
        QVERIFY(near(cpu.source.clockMHz(), 1716.0));

        // Three of the big cores went offline: seen once the policies are rescanned.
        QVERIFY(writeFile(cpufreq + "policy4/affected_cpus", "4\n"));
        QVERIFY(near(cpu.source.clockMHz(), 1716.0));
        cpu.clock->advance(10);
        QVERIFY(near(cpu.source.clockMHz(), (4 * 1416.0 + 2016.0) / 5));

        // A garbled policy is left out of the mean at once.
        QVERIFY(writeFile(cpufreq + "policy0/scaling_cur_freq", "<unknown>\n"));
        QVERIFY(near(cpu.source.clockMHz(), 2016.0));
        QVERIFY(writeFile(cpufreq + "policy4/scaling_cur_freq", "0\n"));
        QVERIFY(!cpu.source.clockMHz()); // and no cpuinfo figure to fall back on

        // cpuinfo is read again only at the rescan interval.
        QVERIFY(writeFile(root + "/proc/cpuinfo", "cpu MHz\t\t: 1200.0\n"));
        QVERIFY(!cpu.source.clockMHz());
        cpu.clock->advance(10);
        QVERIFY(near(cpu.source.clockMHz(), 1200.0));
    }
};

QTEST_GUILESS_MAIN(TestCpuSource)
#include "tst_cpu_source.moc"
