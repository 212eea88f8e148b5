#include "platform/fake/fake_sources.h"
#include "services/log_line.h"
#include "services/system_stats_provider.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pw;
using platform::CpuTicks;
using platform::FakeDesktopNotifier;
using platform::FakeSources;

namespace {
constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

// Two CPUs whose counters advance so that the next cycle reads `percent` load.
struct TwoCpus {
    std::uint64_t busy = 0, idle = 0;
    std::vector<CpuTicks> advance(double percent) {
        // 1600 ticks a cycle keep binary fractions such as 93.75 % exact.
        busy += static_cast<std::uint64_t>(percent * 16);
        idle += static_cast<std::uint64_t>((100 - percent) * 16);
        return {{0, busy, 0, idle, 0}, {1, busy, 0, idle, 0}};
    }
};

struct Rig {
    FakeSources fake;
    std::shared_ptr<FakeDesktopNotifier> notifier = std::make_shared<FakeDesktopNotifier>();
    double threshold = 90.0;
    std::unique_ptr<SystemStatsProvider> store;
    TwoCpus cpus;

    Rig() {
        fake.cpu->topology.performanceLevel0 = 2;
        fake.cpu->cpu = cpus.advance(0);
        fake.memory->counters = platform::MemoryCounters{4 * kGiB, 6 * kGiB, 2 * kGiB, 16 * kGiB};
        fake.memory->swapCounters = platform::SwapCounters{0, 8 * kGiB};
        fake.network->counters = std::vector<platform::InterfaceCounters>{
            {"lo", 5000, 5000, false}, {"eth0", 1'000'000, 2048, true}};
        fake.thermal->sensorList =
            std::vector<platform::ThermalSensor>{{"coretemp Package id 0", "t1"}};
        fake.thermal->readings["t1"] = 45.5;
        store = std::make_unique<SystemStatsProvider>(fake.sources(), notifier,
                                                      [this] { return threshold; });
    }
    void cycleAt(double percent) {
        fake.cpu->cpu = cpus.advance(percent);
        store->updateStats();
    }
    // One cycle one second after the previous one.
    void cycle() {
        fake.clock->advance(1.0);
        store->updateStats();
    }
};

using platform::fakeBattery;
} // namespace

class TestStatsStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        setLogSink([this](const QString& line) { m_log << line; });
        m_log.clear();
    }
    void cleanup() { setLogSink({}); }

    void freshStoreAndFirstCycle() {
        Rig rig;
        QCOMPARE(rig.store->cpuUsage(), 0.0);
        QCOMPARE(rig.store->cpuHistory(), QList<double>(60, 0.0));
        QCOMPARE(rig.store->memoryTotal(), 0.0);
        QSignalSpy history(rig.store.get(), &SystemStatsProvider::cpuHistoryChanged);
        QSignalSpy cpu(rig.store.get(), &SystemStatsProvider::cpuUsageChanged);
        rig.store->updateStats();
        // The first sample is only the reference for rates.
        QCOMPARE(cpu.count(), 0);
        QCOMPARE(history.count(), 0);
        QCOMPARE(rig.store->networkDownload(), 0.0);
        // Levels are known at once.
        QCOMPARE(rig.store->memoryTotal(), 16.0);
        QCOMPARE(rig.store->memoryUsed(), 12.0);
        QCOMPARE(rig.store->memoryPressure(), 75.0);
        QCOMPARE(rig.store->memoryWired(), 4.0);
        QCOMPARE(rig.store->socTemperature().value_or(-1), 45.5);
    }

    void historyShiftsOneValuePerComputedCycle() {
        Rig rig;
        rig.store->updateStats();
        QList<int> sizesSeen;
        connect(rig.store.get(), &SystemStatsProvider::cpuHistoryChanged, this,
                [&] { sizesSeen << rig.store->cpuHistory().size(); });
        for (int i = 1; i <= 5; ++i)
            rig.cycleAt(10.0 * i);
        const QList<double> h = rig.store->cpuHistory();
        QCOMPARE(h.size(), 60);
        QCOMPARE(h.mid(0, 55), QList<double>(55, 0.0));
        QCOMPARE(h.mid(55), (QList<double>{10, 20, 30, 40, 50}));
        QCOMPARE(sizesSeen, QList<int>(5, 60));
        // A failed counter read leaves figures and history alone.
        rig.fake.cpu->cpu.reset();
        rig.store->updateStats();
        QCOMPARE(rig.store->cpuHistory(), h);
        QCOMPARE(rig.store->cpuUsage(), 50.0);
        for (int i = 0; i < 70; ++i)
            rig.cycleAt(70);
        QCOMPARE(rig.store->cpuHistory(), QList<double>(60, 70.0));
    }

    void equalValuesNotifyNothing() {
        Rig rig;
        rig.store->updateStats();
        rig.cycleAt(30);
        QSignalSpy cpu(rig.store.get(), &SystemStatsProvider::cpuUsageChanged);
        QSignalSpy memory(rig.store.get(), &SystemStatsProvider::memoryUsedChanged);
        QSignalSpy temp(rig.store.get(), &SystemStatsProvider::socTemperatureChanged);
        QSignalSpy ratio(rig.store.get(), &SystemStatsProvider::efficiencyRatioChanged);
        QSignalSpy history(rig.store.get(), &SystemStatsProvider::cpuHistoryChanged);
        rig.cycleAt(30);
        QCOMPARE(cpu.count(), 0);
        QCOMPARE(memory.count(), 0);
        QCOMPARE(temp.count(), 0);
        QCOMPARE(ratio.count(), 0);
        QCOMPARE(history.count(), 1); // the shift itself is a change
        rig.cycleAt(40);
        QCOMPARE(cpu.count(), 1);
        QCOMPARE(ratio.count(), 0); // no power reading: the ratio stays unknown
    }

    void failedReadsKeepTheLastFigures() {
        Rig rig;
        rig.store->updateStats();
        rig.fake.thermal->readings["t1"] = std::nullopt;
        rig.fake.memory->counters.reset();
        rig.fake.memory->swapCounters = platform::SwapCounters{2 * kGiB, 8 * kGiB};
        rig.fake.network->counters.reset();
        rig.store->updateStats();
        QCOMPARE(rig.store->socTemperature().value_or(-1), 45.5);
        QCOMPARE(rig.store->memoryUsed(), 12.0);
        QCOMPARE(rig.store->memorySwap(), 2.0);
        // A reading of 0 is no reading either.
        rig.fake.thermal->readings["t1"] = 0.0;
        rig.store->updateStats();
        QCOMPARE(rig.store->socTemperature().value_or(-1), 45.5);
        // A total of 0 must not divide by zero.
        rig.fake.memory->counters = platform::MemoryCounters{0, 0, 0, 0};
        rig.store->updateStats();
        QCOMPARE(rig.store->memoryPressure(), 0.0);
    }

    void implausibleTemperatureIsUnknown() {
        Rig rig;
        rig.store->updateStats();
        for (const double broken : {150.5, -40.5, 1e9}) {
            rig.fake.thermal->readings["t1"] = broken;
            rig.store->updateStats();
            QVERIFY2(!rig.store->socTemperature(), qPrintable(QString::number(broken)));
        }
        rig.fake.thermal->readings["t1"] = -12.0; // a cold start outdoors is real
        rig.store->updateStats();
        QCOMPARE(rig.store->socTemperature().value_or(0), -12.0);
        rig.fake.thermal->readings["t1"] = 150.0;
        rig.store->updateStats();
        QCOMPARE(rig.store->socTemperature().value_or(0), 150.0);
    }

    void networkCountsOnlyDevicesAndSurvivesResets() {
        Rig rig;
        rig.cycle();
        auto& ifs = *rig.fake.network->counters;
        ifs[0].receivedBytes += 1'000'000; // loopback traffic is not network traffic
        ifs[1].receivedBytes = 1'102'400;
        ifs[1].sentBytes = 2048 + 512;
        rig.cycle();
        QCOMPARE(rig.store->networkDownload(), 100.0);
        QCOMPARE(rig.store->networkUpload(), 0.5);
        // The NIC was reset: its total fell. That second reads 0, then rates resume.
        ifs[1].receivedBytes = 1000;
        rig.cycle();
        QCOMPARE(rig.store->networkDownload(), 0.0);
        ifs[1].receivedBytes = 1000 + 2048;
        rig.cycle();
        QCOMPARE(rig.store->networkDownload(), 2.0);
    }

    // The rate is bytes over the seconds that passed, in KB per second.
    void networkRateCoversTheTimeThatPassed() {
        Rig rig;
        rig.cycle();
        const auto saved = rig.fake.network->counters;
        rig.fake.network->counters.reset(); // unreadable for three cycles
        for (int i = 0; i < 3; ++i)
            rig.cycle();
        QCOMPARE(rig.store->networkDownload(), 0.0); // kept, not invented
        rig.fake.network->counters = saved;
        (*rig.fake.network->counters)[1].receivedBytes += 4 * 977 * 1024;
        rig.cycle();
        QCOMPARE(rig.store->networkDownload(), 977.0);
        // A half-second cycle is not half the rate.
        (*rig.fake.network->counters)[1].receivedBytes += 512 * 1024;
        rig.fake.clock->advance(0.5);
        rig.store->updateStats();
        QCOMPARE(rig.store->networkDownload(), 1024.0);
        // No time passed: no rate yet; the bytes count in the next one.
        (*rig.fake.network->counters)[1].receivedBytes += 1024 * 1024;
        rig.store->updateStats();
        QCOMPARE(rig.store->networkDownload(), 1024.0);
        (*rig.fake.network->counters)[1].receivedBytes += 1024 * 1024;
        rig.cycle();
        QCOMPARE(rig.store->networkDownload(), 2048.0);
    }

    void temperatureSelection() {
        Rig rig;
        rig.fake.thermal->sensorList = std::vector<platform::ThermalSensor>{
            {"acpitz", "a"}, {"nvme Composite", "n"}, {"k10temp Tctl", "k"}, {"k10temp Tdie", "d"}};
        rig.fake.thermal->readings = {{"a", 27.8}, {"n", 38.0}, {"k", 61.0}, {"d", 58.0}};
        rig.store->updateStats();
        // Names without a candidate key are never read; the first match in list order wins.
        QCOMPARE(rig.store->socTemperature().value_or(-1), 61.0);
        rig.fake.thermal->sensorList = std::vector<platform::ThermalSensor>{{"CPU_THERMAL", "c"}};
        rig.fake.thermal->readings = {{"c", 52.25}};
        rig.store->updateStats();
        QCOMPARE(rig.store->socTemperature().value_or(-1), 52.25);
    }

    void missingSensorsAreReportedOncePerSpell() {
        Rig rig;
        rig.fake.thermal->sensorList.reset();
        for (int i = 0; i < 5; ++i)
            rig.store->updateStats();
        QCOMPARE(m_log, QStringList{QStringLiteral("HIDMonitor: No thermal services found.")});
        rig.fake.thermal->sensorList = std::vector<platform::ThermalSensor>{};
        rig.store->updateStats(); // an empty list is silent
        rig.fake.thermal->sensorList.reset();
        rig.store->updateStats();
        rig.store->updateStats();
        QCOMPARE(m_log.size(), 2);
    }

    void alertFollowsTheThresholdAndSoundsOncePerSpell() {
        Rig rig;
        rig.store->updateStats();
        QVERIFY(rig.notifier->posted.empty()); // first cycle: load still 0
        rig.threshold = 50.0;
        rig.cycleAt(50);
        QVERIFY(rig.notifier->posted.empty()); // strictly above only
        rig.threshold = 90.0;
        rig.cycleAt(93.75);
        rig.cycleAt(96.875);
        rig.cycleAt(100);
        QCOMPARE(rig.notifier->posted.size(), size_t(3));
        const auto& first = rig.notifier->posted[0];
        QCOMPARE(first.requestId, QStringLiteral("HighCPU"));
        QCOMPARE(first.title, QStringLiteral("High CPU Usage Alert"));
        // 93.75 % reads 93: the figure is cut, not rounded.
        QCOMPARE(
            first.body,
            QStringLiteral("System CPU usage is at 93%. Consider checking intensive processes."));
        QVERIFY(first.playSound);
        QVERIFY(!rig.notifier->posted[1].playSound);
        QCOMPARE(rig.notifier->posted[2].body.left(26),
                 QStringLiteral("System CPU usage is at 100"));
        rig.cycleAt(10);
        rig.threshold = 5.0; // the user's threshold, read every cycle
        rig.cycleAt(10);
        QCOMPARE(rig.notifier->posted.size(), size_t(4));
        QVERIFY(rig.notifier->posted[3].playSound); // a new spell sounds again
    }

    void batteryAndEfficiency() {
        Rig rig;
        platform::PowerSupply bat = fakeBattery("Discharging", 80, 8'000'000);
        bat.energyNow = 40'000'000;
        rig.fake.power->supplies = {bat};
        rig.store->updateStats();
        rig.cycleAt(40);
        QCOMPARE(rig.store->batteryPercentage().value_or(-1), 80);
        QCOMPARE(rig.store->powerDraw().value_or(-1), 8.0);
        QCOMPARE(rig.store->batteryTimeToEmpty().value_or(-1), 300);
        QCOMPARE(rig.store->efficiencyRatio().value_or(-1), 5.0);
        // The battery disappears: the last figures stay.
        rig.fake.power->supplies.clear();
        rig.cycleAt(40);
        QCOMPARE(rig.store->powerDraw().value_or(-1), 8.0);
    }

    void figuresWithoutASourceStayUnknown() {
        // A desktop without a battery, a non-hybrid CPU, no matching sensor.
        Rig rig;
        rig.fake.thermal->sensorList = std::vector<platform::ThermalSensor>{{"acpitz", "a"}};
        rig.fake.thermal->readings = {{"a", 30.0}};
        platform::PowerSupply mouse = fakeBattery("Discharging", 55, 0);
        mouse.name = "hidpp_battery_0";
        mouse.scope = "Device";
        rig.fake.power->supplies = {mouse};
        rig.store->updateStats();
        rig.cycleAt(100);
        QCOMPARE(rig.store->cpuUsage(), 100.0);
        QVERIFY(!rig.store->socTemperature());
        QVERIFY(!rig.store->batteryPercentage());
        QVERIFY(!rig.store->batteryIsCharging());
        QVERIFY(!rig.store->batteryTimeToEmpty());
        QVERIFY(!rig.store->powerDraw());
        QVERIFY(!rig.store->efficiencyRatio()); // never the load itself at 0 W
        QVERIFY(!rig.store->eClusterUsage());
        QVERIFY(!rig.store->aneUsage());
        // A battery on AC power draws 0 W: still no ratio to give.
        rig.fake.power->supplies = {fakeBattery("Full", 100, 0)};
        rig.cycleAt(50);
        QCOMPARE(rig.store->batteryPercentage().value_or(-1), 100);
        QCOMPARE(rig.store->batteryIsCharging(), std::optional(false));
        QVERIFY(!rig.store->batteryTimeToEmpty());
        QVERIFY(!rig.store->efficiencyRatio());
    }

private:
    QStringList m_log;
};

QTEST_GUILESS_MAIN(TestStatsStore)
#include "tst_stats_store.moc"
