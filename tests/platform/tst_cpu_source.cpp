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

    void cpuList() {
        const std::pair<const char*, std::optional<std::vector<int>>> cases[] = {
            {"0-3,20\n", std::vector<int>{0, 1, 2, 3, 20}},
            {"0-1,3", std::vector<int>{0, 1, 3}},
            {"", std::vector<int>{}},
            {"\n", std::vector<int>{}},
            {"all", std::nullopt},
            {"7-3", std::nullopt},  // reversed
            {"1,,2", std::nullopt}, // double comma
            {"-1", std::nullopt},
            {"4-", std::nullopt},
            {"0-2000000000", std::nullopt}, // absurd
        };
        for (const auto& [text, cpus] : cases)
            QVERIFY2(parseCpuList(text) == cpus, text);
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
        // Performance and efficiency counts, and the efficiency CPUs when known.
        const auto topology = [](const std::string& root) {
            const auto t = CpuOn(root).source.coreTopology();
            QStringList cpus;
            for (int cpu : t.efficiencyCpus.value_or(std::vector<int>{}))
                cpus << QString::number(cpu);
            return QStringLiteral("%1 %2 [%3]")
                .arg(t.performanceLevel0 ? QString::number(*t.performanceLevel0) : "-",
                     t.performanceLevel1 ? QString::number(*t.performanceLevel1) : "-",
                     t.efficiencyCpus ? cpus.join(',') : "-");
        };
        QCOMPARE(topology(fixturePath("intel-hybrid-laptop")),
                 QStringLiteral("12 8 [12,13,14,15,16,17,18,19]"));
        QCOMPARE(topology(fixturePath("amd-desktop")), QStringLiteral("16 - [-]"));
        QCOMPARE(topology(fixturePath("arm-biglittle")), QStringLiteral("4 4 [0,1,2,3]"));
        QCOMPARE(topology(fixturePath("zram-zswap")).left(2), QStringLiteral("4 "));
        // An offline big core is in neither count.
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(writeFile(root + "/sys/devices/system/cpu/online", "0-5,7\n"));
        QCOMPARE(topology(root.toStdString()), QStringLiteral("3 4 [0,1,2,3]"));
        // Without the online list the CPU rows are counted.
        const QString vm = copyFixture("bare-vm", dir);
        QCOMPARE(topology(vm.toStdString()), QStringLiteral("3 - [-]"));
        QVERIFY(QFile::remove(vm + "/sys/devices/system/cpu/online"));
        QCOMPARE(topology(vm.toStdString()), QStringLiteral("3 - [-]"));
    }

    void ticksOfEachMachine() {
        const auto laptop = CpuOn(fixturePath("intel-hybrid-laptop")).source.cpuTicks();
        QVERIFY(laptop);
        QCOMPARE(laptop->size(), std::size_t(20));
        QCOMPARE(laptop->back().cpu, 19);
        const auto vm = CpuOn(fixturePath("bare-vm")).source.cpuTicks();
        QVERIFY(vm);
        QCOMPARE(vm->size(), std::size_t(3));
        QCOMPARE((*vm)[2].cpu, 3);                                 // cpu2 is offline
        QCOMPARE((*vm)[0].system, std::uint64_t(2000 + 50 + 700)); // steal counts as system
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
    }

    void clockFollowsPoliciesAtTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(!root.isEmpty());
        const QString cpufreq = root + "/sys/devices/system/cpu/cpufreq/";
        CpuOn cpu(root.toStdString());
        // big.LITTLE: each policy weighs as many CPUs as it drives.
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
