#include "fixture_tree.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_gpu_source.h"
#include "platform/linux/sysfs_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

using GpuOn = SourceOn<LinuxGpuSource>;

// The amd-desktop GPU's own folder, below a copy's root.
const QString kAmdDevice = "/sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0/";

bool hasNoFigures(const GpuDevice& gpu) {
    return !gpu.busyPercent && !gpu.memoryBusyPercent && !gpu.temperatureCelsius &&
           !gpu.vramUsedBytes && !gpu.vramTotalBytes && !gpu.powerWatts && !gpu.clockMHz &&
           !gpu.fanRpm;
}

} // namespace

class TestGpuSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sysfsValues() {
        QCOMPARE(parseMicrowattsAsWatts("45000000\n"sv), std::optional<double>(45.0));
        QCOMPARE(parseMicrowattsAsWatts("0"sv), std::optional<double>(0.0));
        QVERIFY(!parseMicrowattsAsWatts("-1"sv));
        QCOMPARE(parseHertzAsMHz("2450000000\n"sv), std::optional<double>(2450.0));
        QVERIFY(!parseHertzAsMHz("0"sv));

        QCOMPARE(parsePciId("0x1002\n"sv), std::optional<std::uint16_t>(0x1002));
        QVERIFY(!parsePciId("1002"sv));
        QVERIFY(!parsePciId("0x10020"sv));
        QVERIFY(isPciAddress("0000:0b:00.0"sv));
        QVERIFY(!isPciAddress("fde60000.gpu"sv));
        QVERIFY(!isPciAddress("0000:0g:00.0"sv));

        QCOMPARE(gpuName("amdgpu", 0x1002, 0x73ff), std::string("AMD GPU [1002:73ff]"));
        QCOMPARE(gpuName("foo", 0xabcd, 0x0001), std::string("GPU [abcd:0001]"));
        QCOMPARE(gpuName("panfrost", std::nullopt, std::nullopt), std::string("panfrost"));
    }

    void gpusOfEachMachine() {
        // i915 offers no load figure: the GPU is known, its figures are not.
        GpuOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto intel = laptop.source.gpus();
        QCOMPARE(intel.size(), std::size_t(1));
        QCOMPARE(intel[0].card, std::string("card0"));
        QCOMPARE(intel[0].driver, std::string("i915"));
        QCOMPARE(intel[0].name, std::string("Intel GPU [8086:46a6]"));
        QCOMPARE(intel[0].pciAddress, std::string("0000:00:02.0"));
        QVERIFY(intel[0].integrated);
        QVERIFY(!intel[0].suspended);
        QVERIFY(hasNoFigures(intel[0]));
        QCOMPARE(laptop.source.npuBusyMicroseconds(), std::optional<std::uint64_t>(123456789));

        // Its connector (card0-DP-1) and render node have a device too, but are
        // not GPUs.
        GpuOn desktop(fixturePath("amd-desktop"));
        const auto amd = desktop.source.gpus();
        QCOMPARE(amd.size(), std::size_t(1));
        const GpuDevice& gpu = amd[0];
        QCOMPARE(gpu.card, std::string("card0"));
        QCOMPARE(gpu.driver, std::string("amdgpu"));
        QCOMPARE(gpu.name, std::string("AMD GPU [1002:73ff]"));
        QCOMPARE(gpu.pciAddress, std::string("0000:0b:00.0"));
        QVERIFY(!gpu.integrated && !gpu.suspended);
        QCOMPARE(gpu.busyPercent, std::optional<double>(37));
        QCOMPARE(gpu.memoryBusyPercent, std::optional<double>(12));
        QCOMPARE(gpu.vramUsedBytes, std::optional<std::uint64_t>(2ull << 30));
        QCOMPARE(gpu.vramTotalBytes, std::optional<std::uint64_t>(8573157376ull));
        QCOMPARE(gpu.temperatureCelsius, std::optional<double>(39));
        QCOMPARE(gpu.powerWatts, std::optional<double>(45.0)); // power1_average, µW
        QCOMPARE(gpu.clockMHz, std::optional<double>(2450.0)); // freq1_input, Hz
        QCOMPARE(gpu.fanRpm, std::optional<double>(0));
        QVERIFY(!desktop.source.npuBusyMicroseconds());

        GpuOn vm(fixturePath("bare-vm"));
        QVERIFY(vm.source.gpus().empty());
        QVERIFY(!vm.source.npuBusyMicroseconds());
    }

    void everyCardInCardOrder() {
        QTemporaryDir dir;
        const QString root = copyFixture("amd-desktop", dir);
        QVERIFY(!root.isEmpty());
        // An SoC's GPU beside the discrete one: not on PCI, no ids, no figures.
        const QString soc = root + "/sys/devices/platform/fde60000.gpu/";
        QVERIFY(QDir().mkpath(soc + "drm/card1/card1-HDMI-A-1"));
        QVERIFY(QFile::link("../../../fde60000.gpu", soc + "drm/card1/device"));
        QVERIFY(QFile::link("../../card1", soc + "drm/card1/card1-HDMI-A-1/device"));
        QVERIFY(writeFile(root + "/sys/bus/platform/drivers/panfrost/bind", ""));
        QVERIFY(QFile::link("../../bus/platform/drivers/panfrost", soc + "driver"));
        QVERIFY(QFile::link("../../devices/platform/fde60000.gpu/drm/card1",
                            root + "/sys/class/drm/card1"));
        QVERIFY(QFile::link("../../devices/platform/fde60000.gpu/drm/card1/card1-HDMI-A-1",
                            root + "/sys/class/drm/card1-HDMI-A-1"));

        const auto gpus = GpuOn(root.toStdString()).source.gpus();
        QCOMPARE(gpus.size(), std::size_t(2));
        QCOMPARE(gpus[0].driver, std::string("amdgpu"));
        QCOMPARE(gpus[1].card, std::string("card1"));
        QCOMPARE(gpus[1].name, std::string("panfrost"));
        QVERIFY(gpus[1].pciAddress.empty());
        QVERIFY(gpus[1].integrated);
        QVERIFY(hasNoFigures(gpus[1]));
    }

    // Reading a sleeping GPU's figures would wake it: only its runtime status
    // is opened.
    void aSuspendedCardIsNotRead() {
        QTemporaryDir dir;
        const QString root = copyFixture("amd-desktop", dir);
        QVERIFY(!root.isEmpty());
        GpuOn desktop(root.toStdString());
        QVERIFY(desktop.source.gpus().at(0).busyPercent);

        const QString device = root + kAmdDevice;
        QVERIFY(writeFile(device + "power/runtime_status", "suspended\n"));
        for (const char* file :
             {"gpu_busy_percent", "mem_busy_percent", "mem_info_vram_used", "mem_info_vram_total",
              "hwmon/hwmon2/temp1_input", "hwmon/hwmon2/power1_average", "hwmon/hwmon2/freq1_input",
              "hwmon/hwmon2/fan1_input"}) {
            QVERIFY(replaceWithDirectory(device + file));
        }
        const auto opened = openedFileCount();
        const auto asleep = desktop.source.gpus();
        QCOMPARE(openedFileCount() - opened, std::uint64_t(1));
        QCOMPARE(asleep.size(), std::size_t(1));
        QVERIFY(asleep[0].suspended);
        QCOMPARE(asleep[0].name, std::string("AMD GPU [1002:73ff]"));
        QVERIFY(hasNoFigures(asleep[0]));
    }

    void malformedFilesAndTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("amd-desktop", dir);
        QVERIFY(!root.isEmpty());
        const QString device = root + kAmdDevice;
        QVERIFY(writeFile(device + "gpu_busy_percent", "busy\n"));
        QVERIFY(writeFile(device + "mem_info_vram_used", "-5\n"));
        QVERIFY(writeFile(device + "hwmon/hwmon2/freq1_input", "0\n"));
        GpuOn desktop(root.toStdString());
        auto gpu = desktop.source.gpus().at(0);
        QVERIFY(!gpu.busyPercent && !gpu.vramUsedBytes && !gpu.clockMHz);
        QCOMPARE(gpu.memoryBusyPercent, std::optional<double>(12));

        // Parts that report power1_input instead are found at the next rescan.
        QVERIFY(QFile::remove(device + "hwmon/hwmon2/power1_average"));
        QVERIFY(writeFile(device + "hwmon/hwmon2/power1_input", "12500000\n"));
        QVERIFY(!desktop.source.gpus().at(0).powerWatts);
        desktop.clock->advance(10);
        QCOMPARE(desktop.source.gpus().at(0).powerWatts, std::optional<double>(12.5));

        QTemporaryDir empty;
        GpuOn nothing(empty.path().toStdString());
        QVERIFY(nothing.source.gpus().empty());
        QVERIFY(!nothing.source.npuBusyMicroseconds());
    }
};

QTEST_GUILESS_MAIN(TestGpuSource)
#include "tst_gpu_source.moc"
