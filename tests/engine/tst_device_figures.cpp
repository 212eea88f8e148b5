// The store's per-core, clock, disk, network-detail, GPU, fan and neural-engine
// figures and the two alert switches, over the fake counters.
#include "platform/fake/fake_sources.h"
#include "services/engine_models.h"
#include "services/figures/figure_output.h"

#include <QJsonArray>
#include <QJsonObject>

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

using namespace pw;
using platform::BlockDeviceCounters;
using platform::CpuTicks;
using platform::FakeDesktopNotifier;
using platform::FakeSources;

namespace {
constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
constexpr double kUnknown = -1.0; // what an empty figure reads as below

struct Rig {
    FakeSources fake;
    std::shared_ptr<FakeDesktopNotifier> notifier = std::make_shared<FakeDesktopNotifier>();
    std::unique_ptr<EngineModels> engine;
    SystemStatsProvider* store = nullptr;
    bool highCpuOn = true;
    bool diskSpaceLowOn = true;

    Rig() {
        fake.cpu->topology.performanceLevel0 = 1;
        fake.cpu->topology.performanceLevel1 = 1;
        fake.cpu->topology.efficiencyCpus = std::vector<int>{1};
        fake.cpu->cpu = std::vector<CpuTicks>{{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}};
        engine = std::make_unique<EngineModels>(fake.sources(), notifier, [] { return 90.0; });
        store = &engine->stats;
        store->setAlertSwitches([this] { return highCpuOn; }, [this] { return diskSpaceLowOn; });
    }
    // One cycle one second after the previous one.
    void cycle() {
        store->updateStats();
        fake.clock->monotonic += 1.0;
    }
    void setVolume(double totalGiB, double availableGiB) {
        platform::VolumeSpace v;
        v.name = "root";
        v.totalBytes = static_cast<std::uint64_t>(totalGiB * kGiB);
        v.availableBytes = static_cast<std::uint64_t>(availableGiB * kGiB);
        fake.storage->volume = v;
    }
    size_t postedWithId(const char* id) const {
        return std::count_if(notifier->posted.begin(), notifier->posted.end(),
                             [&](const auto& n) { return n.requestId == QLatin1String(id); });
    }
};
} // namespace

class TestDeviceFigures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cpuSplitCoresAndClock() {
        Rig rig;
        QCOMPARE(rig.engine->cpu.cpuClockGHz().value_or(kUnknown), kUnknown);
        rig.fake.cpu->mhz = 2400.0;
        rig.cycle();
        QCOMPARE(rig.engine->cpu.cpuClockGHz().value_or(kUnknown), 2.4);
        QVERIFY(rig.engine->cpu.coreUsages().isEmpty()); // one sample is no load yet
        // CPU 0: 60 user + 20 nice of 100 ticks; CPU 1: 50 system of 100.
        rig.fake.cpu->cpu = std::vector<CpuTicks>{{0, 60, 0, 20, 20}, {1, 0, 50, 50, 0}};
        QSignalSpy cores(&rig.engine->cpu, &CpuDetailsMonitor::coreUsagesChanged);
        QSignalSpy kinds(&rig.engine->cpu, &CpuDetailsMonitor::coreIsEfficiencyChanged);
        rig.cycle();
        QCOMPARE(rig.engine->cpu.coreUsages(), (QList<double>{80.0, 50.0}));
        QCOMPARE(rig.engine->cpu.coreIsEfficiency(), (QList<bool>{false, true}));
        QCOMPARE(rig.store->pClusterUsage(), 80.0);
        QCOMPARE(rig.store->eClusterUsage().value_or(kUnknown), 50.0);
        QCOMPARE(rig.engine->cpu.cpuUserUsage().value_or(kUnknown), 40.0);
        QCOMPARE(rig.engine->cpu.cpuSystemUsage().value_or(kUnknown), 25.0);
        QCOMPARE(rig.engine->cpu.cpuUserUsage().value_or(kUnknown) +
                     rig.engine->cpu.cpuSystemUsage().value_or(kUnknown),
                 rig.store->cpuUsage());
        // The same loads again change no list.
        rig.fake.cpu->cpu = std::vector<CpuTicks>{{0, 120, 0, 40, 40}, {1, 0, 100, 100, 0}};
        rig.cycle();
        QCOMPARE(cores.count(), 1);
        QCOMPARE(kinds.count(), 1);
        rig.fake.cpu->mhz.reset();
        rig.cycle();
        QCOMPARE(rig.engine->cpu.cpuClockGHz().value_or(kUnknown), kUnknown);
        // No processor runs at 0 or beyond 10 GHz: such a clock is unknown.
        for (const double mhz : {0.0, 10'000.5, 18446744073709551615.0 / 1000.0}) {
            rig.fake.cpu->mhz = mhz;
            rig.cycle();
            QCOMPARE(rig.engine->cpu.cpuClockGHz().value_or(kUnknown), kUnknown);
        }
        rig.fake.cpu->mhz = 10'000.0;
        rig.cycle();
        QCOMPARE(rig.engine->cpu.cpuClockGHz().value_or(kUnknown), 10.0);
    }

    void networkHistoryShiftsWithEachRate() {
        Rig rig;
        QCOMPARE(rig.engine->network.networkHistory(), QList<double>(60, 0.0));
        rig.fake.network->counters = std::vector<platform::InterfaceCounters>{{"eth0", 0, 0, true}};
        QSignalSpy spy(&rig.engine->network, &NetworkDetailsMonitor::networkHistoryChanged);
        rig.cycle(); // the reference: no rate, no shift
        QCOMPARE(spy.count(), 0);
        for (int kib = 1; kib <= 3; ++kib) {
            (*rig.fake.network->counters)[0].receivedBytes += kib * 1024;
            rig.cycle();
        }
        QCOMPARE(spy.count(), 3);
        const QList<double> h = rig.engine->network.networkHistory();
        QCOMPARE(h.size(), 60);
        QCOMPARE(h.mid(57), (QList<double>{1, 2, 3}));
        rig.fake.network->counters.reset();
        rig.cycle();
        QCOMPARE(rig.engine->network.networkHistory(), h);
    }

    void slowReadingsEveryFifthCycle() {
        Rig rig;
        rig.fake.network->route = platform::DefaultRoute{"wlan0", true, "192.168.1.20"};
        rig.fake.connections->connections =
            std::vector<platform::TcpConnection>{{"10.0.0.2", 40000, "93.184.216.34", 443},
                                                 {"::1", 40001, "2001:db8::1", 8443},
                                                 {"10.0.0.2", 40002, "10.0.0.1", 22},
                                                 {"10.0.0.2", 40003, "10.0.0.9", 80}};
        rig.setVolume(100, 40);
        rig.fake.storage->volume->rotational = false;
        rig.cycle();
        QCOMPARE(rig.engine->network.networkInterfaceName(), QStringLiteral("wlan0"));
        QVERIFY(rig.engine->network.networkIsWireless());
        QCOMPARE(rig.engine->network.localIPv4Address().value_or(QString()),
                 QStringLiteral("192.168.1.20"));
        QCOMPARE(rig.engine->storage.diskVolumeName(), QStringLiteral("root"));
        QCOMPARE(rig.engine->storage.diskKind(), QStringLiteral("SSD"));
        QCOMPARE(rig.engine->storage.diskTotal().value_or(kUnknown), 100.0);
        QCOMPARE(rig.engine->storage.diskAvailable().value_or(kUnknown), 40.0);
        QCOMPARE(rig.engine->storage.diskUsedFraction().value_or(kUnknown), 0.6);

        // The route goes away and the volume cannot be read: nothing moves
        // until the fifth cycle, which clears the route but keeps the volume.
        // The connections, read on their own thread, arrive with a later cycle.
        QTest::qWait(100);
        rig.fake.network->route.reset();
        rig.fake.storage->volume.reset();
        rig.fake.connections->connections.reset();
        for (int i = 1; i < 5; ++i) {
            QTest::qWait(20);
            rig.cycle();
        }
        QCOMPARE(rig.engine->network.activeConnections(),
                 (QStringList{"93.184.216.34:443", "[2001:db8::1]:8443", "10.0.0.1:22"}));
        QCOMPARE(rig.engine->network.networkInterfaceName(), QStringLiteral("wlan0"));
        rig.cycle();
        QVERIFY(rig.engine->network.networkInterfaceName().isEmpty());
        QVERIFY(!rig.engine->network.networkIsWireless());
        QVERIFY(rig.engine->network.localIPv4Address().value_or(QString()).isEmpty());
        QCOMPARE(rig.engine->network.activeConnections().size(), 3);
        QCOMPARE(rig.engine->storage.diskTotal().value_or(kUnknown), 100.0);

        // A zero-sized volume has no used share; a spinning disk is an HDD.
        rig.setVolume(0, 0);
        rig.fake.storage->volume->rotational = true;
        for (int i = 0; i < 5; ++i)
            rig.cycle();
        QCOMPARE(rig.engine->storage.diskUsedFraction().value_or(kUnknown), kUnknown);
        QCOMPARE(rig.engine->storage.diskKind(), QStringLiteral("HDD"));
    }

    void diskRatesAndPeaks() {
        Rig rig;
        const StorageMonitor& disk = rig.engine->storage;
        // Read and write rates, then the read and write peaks.
        const auto figures = [&] {
            return QList<double>{
                disk.diskReadRate().value_or(kUnknown), disk.diskWriteRate().value_or(kUnknown),
                disk.diskReadPeak().value_or(kUnknown), disk.diskWritePeak().value_or(kUnknown)};
        };
        auto& device = rig.fake.storage->blockDevice;
        device = BlockDeviceCounters{"nvme0n1", 0, 0};
        rig.cycle();
        QCOMPARE(figures(), QList<double>(4, kUnknown));
        device = BlockDeviceCounters{"nvme0n1", 2048, 1024};
        rig.cycle();
        QCOMPARE(figures().mid(0, 2), (QList<double>{1048576, 524288}));
        // Over two seconds.
        rig.fake.clock->monotonic += 1.0;
        device->sectorsRead += 2048;
        rig.cycle();
        QCOMPARE(figures().mid(0, 3), (QList<double>{524288, 0, 1048576}));
        // No time passed: no division, the figures stay.
        rig.fake.clock->monotonic -= 1.0;
        device->sectorsRead += 100;
        rig.cycle();
        QCOMPARE(figures()[0], 524288.0);
        // A counter that fell reads 0; the other goes on.
        device->sectorsRead = 10;
        device->sectorsWritten += 2;
        rig.cycle();
        QCOMPARE(figures().mid(0, 2), (QList<double>{0, 1024}));
        device->sectorsRead += 2;
        rig.cycle();
        QCOMPARE(figures()[0], 1024.0);
        // Another device is no comparison.
        device = BlockDeviceCounters{"sda", 999999, 999999};
        rig.cycle();
        QCOMPARE(figures().mid(0, 2), (QList<double>{0, 0}));
        // The peak is the largest of the last 60 rates: five so far, then zeros.
        for (int i = 0; i < 55; ++i)
            rig.cycle();
        QCOMPARE(figures()[2], 1048576.0);
        rig.cycle();
        QCOMPARE(figures().mid(2), (QList<double>{524288, 1024}));
    }

    void gpuFansAndNeuralEngine() {
        Rig rig;
        rig.cycle();
        QVERIFY(rig.engine->gpu.gpuName().isEmpty());
        QCOMPARE(rig.engine->gpu.gpuBusy().value_or(kUnknown), kUnknown);
        QCOMPARE(rig.store->aneUsage().value_or(kUnknown), kUnknown);
        platform::GpuDevice gpu = platform::fakeGpu("card0", "amdgpu", "amdgpu");
        gpu.busyPercent = 37.0;
        gpu.vramUsedBytes = kGiB;
        gpu.vramTotalBytes = 0;
        rig.fake.gpu->devices = {gpu};
        rig.fake.fans->readings = {{"cpu_fan", 1200}, {"nct6798 fan2", 0}, {"broken", 50'001}};
        rig.fake.gpu->npuBusy = 1'000'000;
        rig.cycle();
        QCOMPARE(rig.engine->gpu.gpuName(), QStringLiteral("amdgpu"));
        QCOMPARE(rig.engine->gpu.gpuBusy().value_or(kUnknown), 37.0);
        QCOMPARE(rig.engine->gpu.gpuMemoryBusy().value_or(kUnknown), kUnknown);
        QCOMPARE(rig.engine->gpu.gpuTemperature().value_or(kUnknown), kUnknown);
        QCOMPARE(rig.engine->gpu.gpuVramFraction().value_or(kUnknown), kUnknown);
        // A fan beyond any real one stays listed with an unknown speed.
        QCOMPARE(rig.engine->fans.fans(),
                 (QList<FanSpeed>{{QStringLiteral("cpu_fan"), 1200},
                                  {QStringLiteral("nct6798 fan2"), 0},
                                  {QStringLiteral("broken"), std::nullopt}}));
        QCOMPARE(rig.store->aneUsage().value_or(kUnknown),
                 kUnknown); // one NPU reading is no share yet

        rig.fake.gpu->devices[0].vramTotalBytes = 4 * kGiB;
        *rig.fake.gpu->npuBusy += 250'000;
        QSignalSpy fans(&rig.engine->fans, &FanMonitor::fansChanged);
        rig.cycle();
        QCOMPARE(rig.engine->gpu.gpuVramFraction().value_or(kUnknown), 0.25);
        QCOMPARE(rig.store->aneUsage().value_or(kUnknown), 25.0);
        QCOMPARE(fans.count(), 0);
        *rig.fake.gpu->npuBusy += 5'000'000; // more busy than wall time
        rig.cycle();
        QCOMPARE(rig.store->aneUsage().value_or(kUnknown), 100.0);
        *rig.fake.gpu->npuBusy = 0; // the unit was reset
        rig.cycle();
        QCOMPARE(rig.store->aneUsage().value_or(kUnknown), 0.0);

        rig.fake.gpu->devices.clear();
        rig.fake.gpu->npuBusy.reset();
        rig.fake.fans->readings.clear();
        rig.cycle();
        QVERIFY(rig.engine->gpu.gpuName().isEmpty());
        QCOMPARE(rig.engine->gpu.gpuVramFraction().value_or(kUnknown), kUnknown);
        QCOMPARE(rig.store->aneUsage().value_or(kUnknown), kUnknown);
        QVERIFY(rig.engine->fans.fans().isEmpty());
    }

    // The strip shows the busiest awake discrete card, else the integrated
    // one; the JSON lists every card, null where a figure is unknown.
    void everyGpuAndTheShownOne() {
        Rig rig;
        platform::GpuDevice intel = platform::fakeGpu("card0", "i915", "Intel GPU [8086:46a6]");
        intel.pciAddress = "0000:00:02.0";
        intel.integrated = true;
        intel.busyPercent = 35.0;
        intel.busyIsPartial = true;
        platform::GpuDevice quiet = platform::fakeGpu("card1", "nvidia", "NVIDIA T400");
        quiet.busyPercent = 5.0;
        quiet.fanPercent = 40.0;
        platform::GpuDevice busy = platform::fakeGpu("card2", "amdgpu", "AMD GPU [1002:73ff]");
        busy.busyPercent = 60.0;
        busy.vramTotalBytes = 8 * kGiB;
        rig.fake.gpu->devices = {intel, quiet, busy};
        rig.fake.gpu->processes = {{{2400, "blender", "card2", 60.0}}, 3};
        rig.cycle();
        const GpuMonitor& gpu = rig.engine->gpu;
        QCOMPARE(gpu.gpuName(), QStringLiteral("AMD GPU [1002:73ff]"));
        QCOMPARE(gpu.gpuCount(), 3);
        QVERIFY(!gpu.gpuBusyIsPartial());
        QCOMPARE(gpu.gpuProcesses().busiest.at(0).name, std::string("blender"));
        QCOMPARE(gpu.gpuProcesses().unreadableProcesses, 3);

        const QJsonArray list = figuresJson(FigureInputs{rig.engine->stats.snapshot()}, 0.0)
                                    .value(QStringLiteral("gpus"))
                                    .toArray();
        QCOMPARE(list.size(), 3);
        const QJsonObject amd = list[2].toObject();
        QCOMPARE(amd.keys(),
                 (QStringList{"busy", "clockMHz", "driver", "fanPercent", "fanRpm", "memoryBusy",
                              "name", "pciAddress", "powerWatts", "suspended", "temperature",
                              "vramTotalBytes", "vramUsedBytes"}));
        QCOMPARE(amd.value("busy").toDouble(), 60.0);
        QCOMPARE(amd.value("vramTotalBytes").toDouble(), double(8 * kGiB));
        QVERIFY(amd.value("vramUsedBytes").isNull() && amd.value("temperature").isNull());
        QCOMPARE(amd.value("suspended").toBool(true), false);
        QCOMPARE(list[1].toObject().value("fanPercent").toDouble(), 40.0);

        // The busy discrete card falls asleep: the other discrete one is shown.
        rig.fake.gpu->devices[2] = platform::fakeGpu("card2", "amdgpu", "AMD GPU [1002:73ff]");
        rig.fake.gpu->devices[2].suspended = true;
        rig.cycle();
        QCOMPARE(gpu.gpuName(), QStringLiteral("NVIDIA T400"));
        const QJsonObject asleep = figuresJson(FigureInputs{rig.engine->stats.snapshot()}, 0.0)
                                       .value(QStringLiteral("gpus"))
                                       .toArray()[2]
                                       .toObject();
        QVERIFY(asleep.value("suspended").toBool() && asleep.value("busy").isNull());

        // Only the integrated card is awake: its load counts only some processes.
        rig.fake.gpu->devices[1].suspended = true;
        rig.cycle();
        QCOMPARE(gpu.gpuName(), QStringLiteral("Intel GPU [8086:46a6]"));
        QVERIFY(gpu.gpuBusyIsPartial());
        QCOMPARE(gpu.gpuBusy().value_or(kUnknown), 35.0);
    }

    void cpuAlertSwitch() {
        Rig rig;
        rig.highCpuOn = false;
        rig.cycle();
        rig.fake.cpu->cpu = std::vector<CpuTicks>{{0, 100, 0, 0, 0}, {1, 100, 0, 0, 0}};
        rig.cycle();
        QCOMPARE(rig.store->cpuUsage(), 100.0);
        QCOMPARE(rig.postedWithId("HighCPU"), size_t(0));
        rig.highCpuOn = true;
        rig.fake.cpu->cpu = std::vector<CpuTicks>{{0, 200, 0, 0, 0}, {1, 200, 0, 0, 0}};
        rig.cycle();
        QCOMPARE(rig.postedWithId("HighCPU"), size_t(1));
        // Off and on again within the spell: the next alert is a new spell and sounds.
        rig.highCpuOn = false;
        rig.fake.cpu->cpu = std::vector<CpuTicks>{{0, 300, 0, 0, 0}, {1, 300, 0, 0, 0}};
        rig.cycle();
        rig.highCpuOn = true;
        rig.fake.cpu->cpu = std::vector<CpuTicks>{{0, 400, 0, 0, 0}, {1, 400, 0, 0, 0}};
        rig.cycle();
        QCOMPARE(rig.postedWithId("HighCPU"), size_t(2));
        QVERIFY(rig.notifier->posted.back().playSound);
    }

    void diskSpaceAlertOncePerFall() {
        Rig rig;
        // A volume of unknown size never alerts.
        rig.setVolume(0, 0);
        for (int i = 0; i < 6; ++i)
            rig.cycle();
        QVERIFY(rig.notifier->posted.empty());
        rig.setVolume(100, 4.5);
        for (int i = 0; i < 5; ++i)
            rig.cycle();
        QCOMPARE(rig.postedWithId("DiskSpaceLow"), size_t(1));
        const auto& alert = rig.notifier->posted.front();
        QCOMPARE(alert.title, QStringLiteral("Disk Space Low"));
        QCOMPARE(alert.body, QStringLiteral("Only 4.5 GB (4%) is free on the system volume."));
        QVERIFY(alert.playSound);
        // Back to exactly 10 %: re-armed; the next fall alerts again.
        rig.setVolume(100, 10);
        for (int i = 0; i < 5; ++i)
            rig.cycle();
        rig.setVolume(100, 9.99);
        for (int i = 0; i < 10; ++i)
            rig.cycle();
        QCOMPARE(rig.postedWithId("DiskSpaceLow"), size_t(2));
        QVERIFY(rig.notifier->posted.back().body.contains(QStringLiteral("(9%)")));
        // Off: silent, and the warning is forgotten, so switching on warns again.
        rig.diskSpaceLowOn = false;
        rig.cycle();
        QCOMPARE(rig.postedWithId("DiskSpaceLow"), size_t(2));
        rig.diskSpaceLowOn = true;
        rig.cycle();
        QCOMPARE(rig.postedWithId("DiskSpaceLow"), size_t(3));
    }
};

QTEST_GUILESS_MAIN(TestDeviceFigures)
#include "tst_device_figures.moc"
