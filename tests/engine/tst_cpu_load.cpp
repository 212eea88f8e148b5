#include "services/cpu/cpu_load.h"

#include <QtTest>

using pw::CpuClusters;
using pw::platform::CoreTopology;
using pw::platform::CpuTicks;

namespace {
// Idle ticks before and after on CPUs 0..count-1; `busy` CPUs spent the
// interval in user time, the others idle.
std::optional<pw::CpuLoad> loadWithBusy(const CpuClusters& clusters, int count,
                                        const std::function<bool(int)>& busy) {
    std::vector<CpuTicks> before, after;
    for (int cpu = 0; cpu < count; ++cpu) {
        before.push_back({cpu, 0, 0, 0, 0});
        after.push_back(busy(cpu) ? CpuTicks{cpu, 100, 0, 0, 0} : CpuTicks{cpu, 0, 0, 100, 0});
    }
    return pw::computeCpuLoad(before, after, clusters);
}
} // namespace

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
        // a CPU in one sample only (gone offline, or just come online) is left out.
        load =
            pw::computeCpuLoad({{0, 0, 0, 0, 0}, {3, 0, 0, 0, 0}, {4, 0, 0, 0, 0}},
                               {{0, 100, 0, 0, 0}, {3, 0, 100, 0, 0}, {5, 9, 9, 9, 9}}, clusters);
        QCOMPARE(load->cpus, (std::vector<int>{0, 3}));
        QCOMPARE(load->perCpu.size(), size_t(2));
        QCOMPARE(load->userUsage, 50.0);
        QCOMPARE(load->systemUsage, 50.0);
        QVERIFY(!pw::computeCpuLoad({{1, 0, 0, 0, 0}}, {{2, 1, 1, 1, 1}}, clusters));
        QVERIFY(!pw::computeCpuLoad({}, {}, clusters));
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

    void clusters() {
        // Only counts known: the efficiency cluster is the first CPUs.
        auto load = loadWithBusy({4, 4, std::nullopt}, 8, [](int cpu) { return cpu < 4; });
        QCOMPARE(load->eClusterUsage, 100.0);
        QCOMPARE(load->pClusterUsage, 0.0);
        QCOMPARE(load->cpuUsage, 50.0);
        // Intel hybrid: CPUs 0-3 are performance threads, 4-5 the efficiency
        // cores; membership decides, not position.
        CoreTopology hybrid;
        hybrid.performanceLevel0 = 4;
        hybrid.performanceLevel1 = 2;
        hybrid.efficiencyCpus = std::vector<int>{4, 5};
        load = loadWithBusy(pw::clustersFromTopology(hybrid), 6, [](int cpu) { return cpu >= 4; });
        QCOMPARE(load->eClusterUsage, 100.0);
        QCOMPARE(load->pClusterUsage, 0.0);
    }

    void coreCountFallbacks() {
        auto c = pw::clustersFromTopology(CoreTopology{});
        QCOMPARE(std::make_pair(c.eCoreCount, c.pCoreCount), std::make_pair(4, 4));
        c = pw::clustersFromTopology(CoreTopology{12, std::nullopt, std::nullopt});
        QCOMPARE(std::make_pair(c.eCoreCount, c.pCoreCount), std::make_pair(0, 12));
        QVERIFY(!c.isEfficiency(0));
        // A failed second query leaves the first one's answer in the buffer.
        c = pw::clustersFromTopology(CoreTopology{std::nullopt, 2, std::nullopt});
        QCOMPARE(std::make_pair(c.eCoreCount, c.pCoreCount), std::make_pair(2, 2));
    }
};

QTEST_APPLESS_MAIN(TestCpuLoad)
#include "tst_cpu_load.moc"
