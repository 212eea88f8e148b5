// The store's per-core, clock, disk, network-detail, GPU, fan and neural-engine
// figures and the two alert switches, over the fake counters.
#include "platform/fake/fake_system_counters.h"
#include "services/system_stats_provider.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

using namespace pw;
using platform::BlockDeviceCounters;
using platform::CpuTicks;
using platform::FakeDesktopNotifier;
using platform::FakeSystemCounters;

namespace {
constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
constexpr double kUnknown = SystemStatsProvider::kUnknown;

struct Rig {
    std::shared_ptr<FakeSystemCounters> counters = std::make_shared<FakeSystemCounters>();
    std::shared_ptr<FakeDesktopNotifier> notifier = std::make_shared<FakeDesktopNotifier>();
    std::unique_ptr<SystemStatsProvider> store;
    bool highCpuOn = true;
    bool diskSpaceLowOn = true;

    Rig() {
        counters->topology.performanceLevel0 = 1;
        counters->topology.performanceLevel1 = 1;
        counters->topology.efficiencyCpus = std::vector<int>{1};
        counters->cpu = std::vector<CpuTicks>{{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}};
        store = std::make_unique<SystemStatsProvider>(counters, notifier, [] { return 90.0; });
        store->setAlertSwitches([this] { return highCpuOn; }, [this] { return diskSpaceLowOn; });
    }
    // One cycle one second after the previous one.
    void cycle() {
        store->updateStats();
        counters->now += 1.0;
    }
    void setVolume(double totalGiB, double availableGiB) {
        platform::VolumeSpace v;
        v.name = "root";
        v.totalBytes = static_cast<std::uint64_t>(totalGiB * kGiB);
        v.availableBytes = static_cast<std::uint64_t>(availableGiB * kGiB);
        counters->volume = v;
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
        QCOMPARE(rig.store->cpuClockGHz(), kUnknown);
        rig.counters->clockMHz = 2400.0;
        rig.cycle();
        QCOMPARE(rig.store->cpuClockGHz(), 2.4);
        QVERIFY(rig.store->coreUsages().isEmpty()); // one sample is no load yet
        // CPU 0: 60 user + 20 nice of 100 ticks; CPU 1: 50 system of 100.
        rig.counters->cpu = std::vector<CpuTicks>{{0, 60, 0, 20, 20}, {1, 0, 50, 50, 0}};
        QSignalSpy cores(rig.store.get(), &SystemStatsProvider::coreUsagesChanged);
        QSignalSpy kinds(rig.store.get(), &SystemStatsProvider::coreIsEfficiencyChanged);
        rig.cycle();
        QCOMPARE(rig.store->coreUsages(), (QList<double>{80.0, 50.0}));
        QCOMPARE(rig.store->coreIsEfficiency(), (QList<bool>{false, true}));
        QCOMPARE(rig.store->cpuUserUsage(), 40.0);
        QCOMPARE(rig.store->cpuSystemUsage(), 25.0);
        QCOMPARE(rig.store->cpuUserUsage() + rig.store->cpuSystemUsage(), rig.store->cpuUsage());
        // The same loads again change no list.
        rig.counters->cpu = std::vector<CpuTicks>{{0, 120, 0, 40, 40}, {1, 0, 100, 100, 0}};
        rig.cycle();
        QCOMPARE(cores.count(), 1);
        QCOMPARE(kinds.count(), 1);
        rig.counters->clockMHz.reset();
        rig.cycle();
        QCOMPARE(rig.store->cpuClockGHz(), kUnknown);
    }

    void networkHistoryShiftsWithEachRate() {
        Rig rig;
        QCOMPARE(rig.store->networkHistory(), QList<double>(60, 0.0));
        rig.counters->interfaces = std::vector<platform::InterfaceCounters>{{"eth0", 0, 0, true}};
        QSignalSpy spy(rig.store.get(), &SystemStatsProvider::networkHistoryChanged);
        rig.cycle(); // the reference: no rate, no shift
        QCOMPARE(spy.count(), 0);
        for (int kib = 1; kib <= 3; ++kib) {
            (*rig.counters->interfaces)[0].receivedBytes += kib * 1024;
            rig.cycle();
        }
        QCOMPARE(spy.count(), 3);
        const QList<double> h = rig.store->networkHistory();
        QCOMPARE(h.size(), 60);
        QCOMPARE(h.mid(57), (QList<double>{1, 2, 3}));
        rig.counters->interfaces.reset();
        rig.cycle();
        QCOMPARE(rig.store->networkHistory(), h);
    }

    void slowReadingsEveryFifthCycle() {
        Rig rig;
        rig.counters->route = platform::DefaultRoute{"wlan0", true, "192.168.1.20"};
        rig.counters->connections =
            std::vector<platform::TcpConnection>{{"10.0.0.2", 40000, "93.184.216.34", 443},
                                                 {"::1", 40001, "2001:db8::1", 8443},
                                                 {"10.0.0.2", 40002, "10.0.0.1", 22},
                                                 {"10.0.0.2", 40003, "10.0.0.9", 80}};
        rig.setVolume(100, 40);
        rig.counters->volume->rotational = false;
        rig.cycle();
        QCOMPARE(rig.store->networkInterfaceName(), QStringLiteral("wlan0"));
        QVERIFY(rig.store->networkIsWireless());
        QCOMPARE(rig.store->localIPv4Address(), QStringLiteral("192.168.1.20"));
        QTRY_COMPARE(rig.store->activeConnections(),
                     (QStringList{"93.184.216.34:443", "[2001:db8::1]:8443", "10.0.0.1:22"}));
        QCOMPARE(rig.store->diskVolumeName(), QStringLiteral("root"));
        QCOMPARE(rig.store->diskKind(), QStringLiteral("SSD"));
        QCOMPARE(rig.store->diskTotal(), 100.0);
        QCOMPARE(rig.store->diskAvailable(), 40.0);
        QCOMPARE(rig.store->diskUsedFraction(), 0.6);

        // The route goes away and the volume cannot be read: nothing moves
        // until the fifth cycle, which clears the route but keeps the volume.
        rig.counters->route.reset();
        rig.counters->volume.reset();
        rig.counters->connections.reset();
        for (int i = 1; i < 5; ++i)
            rig.cycle();
        QCOMPARE(rig.store->networkInterfaceName(), QStringLiteral("wlan0"));
        rig.cycle();
        QVERIFY(rig.store->networkInterfaceName().isEmpty());
        QVERIFY(!rig.store->networkIsWireless());
        QVERIFY(rig.store->localIPv4Address().isEmpty());
        QCOMPARE(rig.store->activeConnections().size(), 3);
        QCOMPARE(rig.store->diskTotal(), 100.0);

        // A zero-sized volume has no used share; a spinning disk is an HDD.
        rig.setVolume(0, 0);
        rig.counters->volume->rotational = true;
        for (int i = 0; i < 5; ++i)
            rig.cycle();
        QCOMPARE(rig.store->diskUsedFraction(), kUnknown);
        QCOMPARE(rig.store->diskKind(), QStringLiteral("HDD"));
    }

    void diskRatesAndPeaks() {
        Rig rig;
        auto& device = rig.counters->blockDevice;
        device = BlockDeviceCounters{"nvme0n1", 0, 0};
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), kUnknown);
        QCOMPARE(rig.store->diskReadPeak(), kUnknown);
        device = BlockDeviceCounters{"nvme0n1", 2048, 1024};
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), 1048576.0);
        QCOMPARE(rig.store->diskWriteRate(), 524288.0);
        // Over two seconds.
        rig.counters->now += 1.0;
        device->sectorsRead += 2048;
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), 524288.0);
        QCOMPARE(rig.store->diskWriteRate(), 0.0);
        QCOMPARE(rig.store->diskReadPeak(), 1048576.0);
        // No time passed: no division, the figures stay.
        rig.counters->now -= 1.0;
        device->sectorsRead += 100;
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), 524288.0);
        // A counter that fell reads 0; the other goes on.
        device->sectorsRead = 10;
        device->sectorsWritten += 2;
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), 0.0);
        QCOMPARE(rig.store->diskWriteRate(), 1024.0);
        device->sectorsRead += 2;
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), 1024.0);
        // Another device is no comparison.
        device = BlockDeviceCounters{"sda", 999999, 999999};
        rig.cycle();
        QCOMPARE(rig.store->diskReadRate(), 0.0);
        QCOMPARE(rig.store->diskWriteRate(), 0.0);
        // The peak is the largest of the last 60 rates: five so far, then zeros.
        for (int i = 0; i < 55; ++i)
            rig.cycle();
        QCOMPARE(rig.store->diskReadPeak(), 1048576.0);
        rig.cycle();
        QCOMPARE(rig.store->diskReadPeak(), 524288.0);
        QCOMPARE(rig.store->diskWritePeak(), 1024.0);
    }

    void gpuFansAndNeuralEngine() {
        Rig rig;
        rig.cycle();
        QVERIFY(rig.store->gpuName().isEmpty());
        QCOMPARE(rig.store->gpuBusy(), kUnknown);
        QCOMPARE(rig.store->aneUsage(), kUnknown);
        platform::GpuCounters gpu;
        gpu.name = "amdgpu";
        gpu.busyPercent = 37.0;
        gpu.vramUsedBytes = kGiB;
        gpu.vramTotalBytes = 0;
        rig.counters->gpuCounters = gpu;
        rig.counters->fanReadings = {{"cpu_fan", 1200}, {"nct6798 fan2", 0}};
        rig.counters->npuBusy = 1'000'000;
        rig.cycle();
        QCOMPARE(rig.store->gpuName(), QStringLiteral("amdgpu"));
        QCOMPARE(rig.store->gpuBusy(), 37.0);
        QCOMPARE(rig.store->gpuMemoryBusy(), kUnknown);
        QCOMPARE(rig.store->gpuTemperature(), kUnknown);
        QCOMPARE(rig.store->gpuVramFraction(), kUnknown);
        QCOMPARE(rig.store->fans(), (QList<FanSpeed>{{QStringLiteral("cpu_fan"), 1200},
                                                     {QStringLiteral("nct6798 fan2"), 0}}));
        QCOMPARE(rig.store->aneUsage(), kUnknown); // one NPU reading is no share yet

        rig.counters->gpuCounters->vramTotalBytes = 4 * kGiB;
        *rig.counters->npuBusy += 250'000;
        QSignalSpy fans(rig.store.get(), &SystemStatsProvider::fansChanged);
        rig.cycle();
        QCOMPARE(rig.store->gpuVramFraction(), 0.25);
        QCOMPARE(rig.store->aneUsage(), 25.0);
        QCOMPARE(fans.count(), 0);
        *rig.counters->npuBusy += 5'000'000; // more busy than wall time
        rig.cycle();
        QCOMPARE(rig.store->aneUsage(), 100.0);
        *rig.counters->npuBusy = 0; // the unit was reset
        rig.cycle();
        QCOMPARE(rig.store->aneUsage(), 0.0);

        rig.counters->gpuCounters.reset();
        rig.counters->npuBusy.reset();
        rig.counters->fanReadings.clear();
        rig.cycle();
        QVERIFY(rig.store->gpuName().isEmpty());
        QCOMPARE(rig.store->gpuVramFraction(), kUnknown);
        QCOMPARE(rig.store->aneUsage(), kUnknown);
        QVERIFY(rig.store->fans().isEmpty());
    }

    void cpuAlertSwitch() {
        Rig rig;
        rig.highCpuOn = false;
        rig.cycle();
        rig.counters->cpu = std::vector<CpuTicks>{{0, 100, 0, 0, 0}, {1, 100, 0, 0, 0}};
        rig.cycle();
        QCOMPARE(rig.store->cpuUsage(), 100.0);
        QCOMPARE(rig.postedWithId("HighCPU"), size_t(0));
        rig.highCpuOn = true;
        rig.counters->cpu = std::vector<CpuTicks>{{0, 200, 0, 0, 0}, {1, 200, 0, 0, 0}};
        rig.cycle();
        QCOMPARE(rig.postedWithId("HighCPU"), size_t(1));
        // Off and on again within the spell: the next alert is a new spell and sounds.
        rig.highCpuOn = false;
        rig.counters->cpu = std::vector<CpuTicks>{{0, 300, 0, 0, 0}, {1, 300, 0, 0, 0}};
        rig.cycle();
        rig.highCpuOn = true;
        rig.counters->cpu = std::vector<CpuTicks>{{0, 400, 0, 0, 0}, {1, 400, 0, 0, 0}};
        rig.cycle();
        QCOMPARE(rig.postedWithId("HighCPU"), size_t(2));
        QVERIFY(rig.notifier->posted.back().playSound);
    }

    void diskSpaceAlertOncePerFall() {
        Rig rig;
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

    void unknownVolumeNeverAlerts() {
        Rig rig;
        for (int i = 0; i < 6; ++i)
            rig.cycle();
        rig.setVolume(0, 0);
        for (int i = 0; i < 5; ++i)
            rig.cycle();
        QVERIFY(rig.notifier->posted.empty());
    }
};

QTEST_GUILESS_MAIN(TestDeviceFigures)
#include "tst_device_figures.moc"
