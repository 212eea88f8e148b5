#include "services/cpu/cpu_load.h"

#include <QtTest>

using pw::CpuClusters;
using pw::platform::CoreTopology;
using pw::platform::CpuTicks;

class TestCpuLoad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsFromTickDeltas() {
        const CpuClusters clusters{0, 1, std::nullopt};
        // user 30, system 10, idle 50, nice 10 → (30 + 10 + 10) / 100
        auto load =
            pw::computeCpuLoad({{0, 100, 100, 100, 100}}, {{0, 130, 110, 150, 110}}, clusters);
        QVERIFY(load);
        QCOMPARE(load->cpuUsage, 50.0);
        QCOMPARE(load->userUsage, 40.0); // nice counts as user time
        QCOMPARE(load->systemUsage, 10.0);
        // No tick at all between samples: load 0, not a division by zero.
        load = pw::computeCpuLoad({{0, 5, 5, 5, 5}}, {{0, 5, 5, 5, 5}}, clusters);
        QVERIFY(load);
        QCOMPARE(load->cpuUsage, 0.0);
        QCOMPARE(load->userUsage + load->systemUsage, 0.0);
        // The split is over all ticks counted, each CPU keeps its number, and
        // a CPU in one sample only is left out.
        load =
            pw::computeCpuLoad({{0, 0, 0, 0, 0}, {3, 0, 0, 0, 0}},
                               {{0, 100, 0, 0, 0}, {3, 0, 100, 0, 0}, {5, 9, 9, 9, 9}}, clusters);
        QCOMPARE(load->cpus, (std::vector<int>{0, 3}));
        QCOMPARE(load->userUsage, 50.0);
        QCOMPARE(load->systemUsage, 50.0);
    }

    void countersGoingBackwardsNeverGiveNegativeOrHugeLoads() {
        const CpuClusters clusters{0, 1, std::nullopt};
        // iowait (folded into idle) can step back; that delta counts as 0.
        auto load = pw::computeCpuLoad({{0, 100, 100, 500, 0}}, {{0, 150, 100, 400, 0}}, clusters);
        QVERIFY(load);
        QCOMPARE(load->cpuUsage, 100.0);
        load = pw::computeCpuLoad({{0, 100, 100, 500, 0}}, {{0, 50, 50, 600, 0}}, clusters);
        QCOMPARE(load->cpuUsage, 0.0);
    }

    void positionalClustersWhenOnlyCountsAreKnown() {
        const CpuClusters clusters{4, 4, std::nullopt};
        std::vector<CpuTicks> before, after;
        for (int cpu = 0; cpu < 8; ++cpu) {
            before.push_back({cpu, 0, 0, 0, 0});
            after.push_back(cpu < 4 ? CpuTicks{cpu, 100, 0, 0, 0} : CpuTicks{cpu, 0, 0, 100, 0});
        }
        const auto load = pw::computeCpuLoad(before, after, clusters);
        QCOMPARE(load->eClusterUsage, 100.0);
        QCOMPARE(load->pClusterUsage, 0.0);
        QCOMPARE(load->cpuUsage, 50.0);
    }

    void membershipDecidesOnHybridMachines() {
        // Intel hybrid: CPUs 0-3 are performance threads, 4-5 the efficiency cores.
        CoreTopology topology;
        topology.performanceLevel0 = 4;
        topology.performanceLevel1 = 2;
        topology.efficiencyCpus = std::vector<int>{4, 5};
        const CpuClusters clusters = pw::clustersFromTopology(topology);
        std::vector<CpuTicks> before, after;
        for (int cpu = 0; cpu < 6; ++cpu) {
            before.push_back({cpu, 0, 0, 0, 0});
            after.push_back(cpu >= 4 ? CpuTicks{cpu, 100, 0, 0, 0} : CpuTicks{cpu, 0, 0, 100, 0});
        }
        const auto load = pw::computeCpuLoad(before, after, clusters);
        QCOMPARE(load->eClusterUsage, 100.0);
        QCOMPARE(load->pClusterUsage, 0.0);
    }

    void cpusInOnlyOneSampleAreNotCounted() {
        const CpuClusters clusters{0, 2, std::nullopt};
        // CPU 1 went offline, CPU 2 came online: only CPU 0 is in both.
        const auto load = pw::computeCpuLoad({{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}},
                                             {{0, 100, 0, 0, 0}, {2, 0, 0, 100, 0}}, clusters);
        QVERIFY(load);
        QCOMPARE(load->cpuUsage, 100.0);
        QCOMPARE(load->perCpu.size(), size_t(1));
        QVERIFY(!pw::computeCpuLoad({{1, 0, 0, 0, 0}}, {{2, 1, 1, 1, 1}}, clusters));
        QVERIFY(!pw::computeCpuLoad({}, {}, clusters));
    }

    void coreCountFallbacks() {
        CoreTopology none;
        auto c = pw::clustersFromTopology(none);
        QCOMPARE(c.eCoreCount, 4);
        QCOMPARE(c.pCoreCount, 4);

        CoreTopology onlyPerformance;
        onlyPerformance.performanceLevel0 = 12;
        c = pw::clustersFromTopology(onlyPerformance);
        QCOMPARE(c.eCoreCount, 0);
        QCOMPARE(c.pCoreCount, 12);
        QVERIFY(!c.isEfficiency(0));

        // A failed second query leaves the first one's answer in the buffer.
        CoreTopology onlyEfficiency;
        onlyEfficiency.performanceLevel1 = 2;
        c = pw::clustersFromTopology(onlyEfficiency);
        QCOMPARE(c.eCoreCount, 2);
        QCOMPARE(c.pCoreCount, 2);
    }
};

QTEST_APPLESS_MAIN(TestCpuLoad)
#include "tst_cpu_load.moc"
