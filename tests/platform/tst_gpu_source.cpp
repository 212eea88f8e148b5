// The GPU source: sysfs and hwmon figures, DRM client counters over two
// samples, NVML through a stand-in library, and sleeping cards left asleep.
#include "fixture_tree.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/gpu/card_scan.h"
#include "platform/linux/gpu/drm_fdinfo.h"
#include "platform/linux/gpu/hwmon_figures.h"
#include "platform/linux/gpu/nvml_library.h"
#include "platform/linux/linux_gpu_source.h"
#include "platform/linux/sysfs_parsers.h"

#include <QTest>

#include <cmath>

using namespace pw::platform;
using namespace pw::platform::gpu;
using namespace std::string_view_literals;

namespace {

using GpuOn = SourceOn<LinuxGpuSource>;

const QString kLaptopAmd = "/sys/devices/pci0000:00/0000:00:01.0/0000:03:00.0/";
const QString kDesktopAmd = "/sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0/";

template <typename T> QString text(const std::optional<T>& v) {
    if (!v)
        return QStringLiteral("-");
    if constexpr (std::is_integral_v<T>)
        return QString::number(static_cast<qulonglong>(*v));
    else
        return QString::number(*v, 'g', 12);
}

// Every figure of a card in one line, "-" where unknown: busy, memory busy,
// VRAM used and total, temperature, power, clock, fan RPM and fan %.
QString figures(const GpuDevice& g) {
    return QStringList{text(g.busyPercent),        text(g.memoryBusyPercent),
                       text(g.vramUsedBytes),      text(g.vramTotalBytes),
                       text(g.temperatureCelsius), text(g.powerWatts),
                       text(g.clockMHz),           text(g.fanRpm),
                       text(g.fanPercent)}
        .join(' ');
}
const QString kNoFigures = "- - - - - - - - -";

// Copies the second sample's files of a fixture (under next/) over the first.
bool takeNextSample(const QString& root) {
    std::error_code error;
    std::filesystem::copy((root + "/next").toStdString(), root.toStdString(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing,
                          error);
    return !error;
}

// Shares summed from counters carry rounding.
bool near(std::optional<double> value, double expected) {
    return value && std::abs(*value - expected) < 1e-9;
}

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A two-card script for the stand-in NVML library; `extra` adds lines.
bool writeNvmlScript(const QString& path, const QByteArray& extra = {}) {
    return writeFile(path, "device 00000000:01:00.0 45 30 12884901888 1073741824 61 123456 1800 "
                           "40 NVIDIA GeForce RTX 3060\n"
                           "device 00000000:02:00.0 5 1 8589934592 268435456 40 15000 300 0 "
                           "NVIDIA T400\n" +
                               extra);
}

struct NvmlEnv {
    NvmlEnv(const QString& script, const QString& log) {
        qputenv("FAKE_NVML_SCRIPT", script.toUtf8());
        qputenv("FAKE_NVML_LOG", log.toUtf8());
    }
    ~NvmlEnv() {
        qunsetenv("FAKE_NVML_SCRIPT");
        qunsetenv("FAKE_NVML_LOG");
    }
};

} // namespace

class TestGpuSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parsers() {
        QCOMPARE(parseMicrowattsAsWatts("45000000\n"sv), std::optional<double>(45.0));
        QCOMPARE(parseMicrowattsAsWatts("0"sv), std::optional<double>(0.0));
        QVERIFY(!parseMicrowattsAsWatts("-1"sv));
        QCOMPARE(parseHertzAsMHz("2450000000\n"sv), std::optional<double>(2450.0));
        QVERIFY(!parseHertzAsMHz("0"sv));
        QCOMPARE(parsePciId("0x1002\n"sv), std::optional<std::uint16_t>(0x1002));
        QVERIFY(!parsePciId("1002"sv) && !parsePciId("0x10020"sv));
        QVERIFY(isPciAddress("0000:0b:00.0"sv));
        QVERIFY(!isPciAddress("fde60000.gpu"sv) && !isPciAddress("0000:0g:00.0"sv));
        QCOMPARE(gpuName("foo", 0xabcd, 0x0001), std::string("GPU [abcd:0001]"));
        QCOMPARE(gpuName("panfrost", std::nullopt, std::nullopt), std::string("panfrost"));

        const auto i915 = parseDrmFdinfo("pos:\t0\ndrm-driver:\ti915\ndrm-client-id:\t7\n"
                                         "drm-pdev:\t0000:00:02.0\ndrm-engine-render:\t25 ns\n"
                                         "drm-engine-capacity-video:\t2\ndrm-engine-video:\t9 ns\n"
                                         "drm-engine-copy:\tbad ns\ndrm-total-local0:\t0\n"sv);
        QVERIFY(i915);
        QCOMPARE(i915->driver + " " + i915->pdev, std::string("i915 0000:00:02.0"));
        QCOMPARE(i915->clientId, std::uint64_t(7));
        QCOMPARE(i915->engines.size(), std::size_t(2));
        QCOMPARE(i915->engines[1], (DrmEngineCounter{"video", 9, 0, false, 2}));
        const auto xe = parseDrmFdinfo("drm-driver: xe\ndrm-client-id: 1\n"
                                       "drm-cycles-rcs: 10\ndrm-total-cycles-rcs: 400\n"sv);
        QCOMPARE(xe->engines.at(0), (DrmEngineCounter{"rcs", 10, 400, true, 1}));
        // Not a DRM file, or one without its client id.
        QVERIFY(!parseDrmFdinfo("pos:\t0\nflags:\t02\n"sv));
        QVERIFY(!parseDrmFdinfo("drm-driver:\ti915\n"sv));

        const DrmEngineCounter before{"render", 1000, 0, false, 2};
        QCOMPARE(engineShare(before, {"render", 1000 + 500'000'000, 0, false, 2}, 1.0),
                 std::optional<double>(0.25));
        QCOMPARE(engineShare(before, {"render", 10, 0, false, 2}, 1.0), std::optional<double>(0));
        QVERIFY(!engineShare(before, before, 0.0));
        QCOMPARE(engineShare({"rcs", 10, 100, true}, {"rcs", 60, 200, true}, 0.0),
                 std::optional<double>(0.5));
        QVERIFY(!engineShare({"rcs", 10, 100, true}, {"rcs", 60, 100, true}, 1.0));

        QCOMPARE(sysfsPciAddress("00000000:0A:00.0"), std::string("0000:0a:00.0"));
        QCOMPARE(sysfsPciAddress("0000:01:00.1"), std::string("0000:01:00.1"));
        for (const char* bad : {"01:00.0", "0000:01:00.9", ""})
            QVERIFY2(sysfsPciAddress(bad).empty(), bad);

        QCOMPARE(chipTemperatureInput({{"temp1_input", "junction"}, {"temp2_input", "edge"}}),
                 std::string("temp2_input"));
        QCOMPARE(chipTemperatureInput({{"temp3_input", "mem"}, {"temp1_input", "junction"}}),
                 std::string("temp1_input"));
        QCOMPARE(chipTemperatureInput({{"temp3_input", "mem"}, {"temp1_input", ""}}),
                 std::string("temp1_input"));
        QVERIFY(chipTemperatureInput({{"temp3_input", "mem"}}).empty());

        QVERIFY(runtimeStatusAsleep("suspended\n"sv) && runtimeStatusAsleep("suspending"sv));
        QVERIFY(!runtimeStatusAsleep("active\n"sv) && !runtimeStatusAsleep("unsupported"sv));
        QVERIFY(powerStateAsleep("D3cold\n"sv) && !powerStateAsleep("D3hot\n"sv));
    }

    void gpusOfEachMachine() {
        // i915 offers no load figure: the GPU is known, its figures are not.
        GpuOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto intel = laptop.source.gpus();
        QCOMPARE(intel.size(), std::size_t(1));
        QCOMPARE(intel[0].card + " " + intel[0].driver + " " + intel[0].pciAddress,
                 std::string("card0 i915 0000:00:02.0"));
        QCOMPARE(intel[0].name, std::string("Intel GPU [8086:46a6]"));
        QVERIFY(intel[0].integrated && !intel[0].suspended);
        QCOMPARE(figures(intel[0]), kNoFigures);
        QCOMPARE(laptop.source.npuBusyMicroseconds(), std::optional<std::uint64_t>(123456789));

        // Its connector (card0-DP-1) and render node have a device too, but are
        // not GPUs. Power is power1_average in µW, the clock freq1_input in Hz.
        GpuOn desktop(fixturePath("amd-desktop"));
        const auto amd = desktop.source.gpus();
        QCOMPARE(amd.size(), std::size_t(1));
        QCOMPARE(amd[0].card + " " + amd[0].driver + " " + amd[0].pciAddress,
                 std::string("card0 amdgpu 0000:0b:00.0"));
        QCOMPARE(amd[0].name, std::string("AMD GPU [1002:73ff]"));
        QVERIFY(!amd[0].integrated && !amd[0].suspended);
        QCOMPARE(figures(amd[0]), QStringLiteral("37 12 2147483648 8573157376 39 45 2450 0 -"));
        QVERIFY(!desktop.source.npuBusyMicroseconds());

        GpuOn vm(fixturePath("bare-vm"));
        QVERIFY(vm.source.gpus().empty());
        QVERIFY(!vm.source.npuBusyMicroseconds());
        QTemporaryDir empty;
        GpuOn nothing(empty.path().toStdString());
        QVERIFY(nothing.source.gpus().empty() && !nothing.source.npuBusyMicroseconds());
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
        QCOMPARE(gpus[1].card + " " + gpus[1].name, std::string("card1 panfrost"));
        QVERIFY(gpus[1].pciAddress.empty() && gpus[1].integrated);
        QCOMPARE(figures(gpus[1]), kNoFigures);
    }

    void malformedFilesAndTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("amd-desktop", dir);
        QVERIFY(!root.isEmpty());
        const QString device = root + kDesktopAmd;
        QVERIFY(writeFile(device + "gpu_busy_percent", "busy\n"));
        QVERIFY(writeFile(device + "mem_info_vram_used", "-5\n"));
        QVERIFY(writeFile(device + "hwmon/hwmon2/freq1_input", "0\n"));
        GpuOn desktop(root.toStdString());
        QCOMPARE(figures(desktop.source.gpus().at(0)),
                 QStringLiteral("- 12 - 8573157376 39 45 - 0 -"));

        // Parts that report power1_input instead are found at the next rescan.
        QVERIFY(QFile::remove(device + "hwmon/hwmon2/power1_average"));
        QVERIFY(writeFile(device + "hwmon/hwmon2/power1_input", "12500000\n"));
        QVERIFY(!desktop.source.gpus().at(0).powerWatts);
        desktop.clock->advance(10);
        QCOMPARE(desktop.source.gpus().at(0).powerWatts, std::optional<double>(12.5));
    }

    // i915 integrated beside amdgpu discrete; the Intel card's load comes
    // from its clients' engine counters over two samples.
    void hybridLaptop() {
        QTemporaryDir dir;
        const QString root = copyFixture("hybrid-gpu-laptop", dir);
        QVERIFY(!root.isEmpty());
        GpuOn laptop(root.toStdString());
        auto gpus = laptop.source.gpus();
        QCOMPARE(gpus.size(), std::size_t(2));
        QCOMPARE(gpus[0].driver, std::string("i915"));
        QVERIFY(gpus[0].integrated);
        // One sample gives no load yet; the clock is known.
        QCOMPARE(figures(gpus[0]), QStringLiteral("- - - - - - 1300 - -"));
        QCOMPARE(gpus[1].card, std::string("card1"));
        QVERIFY(!gpus[1].integrated);
        // Temperature from edge, not junction; power from power1_input.
        QCOMPARE(figures(gpus[1]), QStringLiteral("58 3 1073741824 8589934592 48 9 800 - -"));

        QVERIFY(takeNextSample(root));
        laptop.clock->advance(1);
        gpus = laptop.source.gpus();
        // card0: render 250 ms + 100 ms of two clients (the third file is a
        // dup of the second, counted once), video 100 ms of two engines.
        QVERIFY(near(gpus[0].busyPercent, 35));
        QVERIFY(gpus[0].busyIsPartial); // sshd's files were not readable
        QVERIFY(!gpus[1].busyIsPartial);
        const GpuProcesses processes = laptop.source.gpuProcesses();
        QCOMPARE(processes.unreadableProcesses, 1);
        QCOMPARE(processes.busiest.size(), std::size_t(2));
        const GpuProcess& blender = processes.busiest[0];
        QCOMPARE(blender.pid, 2400);
        QCOMPARE(blender.name + " " + blender.card, std::string("blender card1"));
        QVERIFY(near(blender.busyPercent, 60));
        QCOMPARE(processes.busiest[1].name, std::string("gnome-shell"));
        QVERIFY(near(processes.busiest[1].busyPercent, 35));

        // The discrete card goes to sleep: its clients are not read either.
        QVERIFY(writeFile(root + kLaptopAmd + "power/runtime_status", "suspended\n"));
        QVERIFY(replaceWithDirectory(root + "/proc/2400/fdinfo/7"));
        laptop.clock->advance(1);
        gpus = laptop.source.gpus();
        QVERIFY(gpus[1].suspended && !gpus[1].busyPercent && !gpus[1].temperatureCelsius);
        QCOMPARE(gpus[0].busyPercent, std::optional<double>(0));
        QCOMPARE(laptop.source.gpuProcesses().busiest.size(), std::size_t(1));
    }

    void xeCard() {
        QTemporaryDir dir;
        const QString root = copyFixture("xe-desktop", dir);
        QVERIFY(!root.isEmpty());
        GpuOn desktop(root.toStdString());
        auto gpus = desktop.source.gpus();
        QCOMPARE(gpus.size(), std::size_t(1));
        QCOMPARE(gpus[0].driver + " " + gpus[0].name, std::string("xe Intel GPU [8086:56a0]"));
        QVERIFY(!gpus[0].integrated);
        QCOMPARE(gpus[0].clockMHz, std::optional<double>(2100));
        QVERIFY(takeNextSample(root));
        desktop.clock->advance(1);
        gpus = desktop.source.gpus();
        QVERIFY(near(gpus[0].busyPercent, 30)); // 600 of 2000 cycles
        QVERIFY(!gpus[0].busyIsPartial);
        QCOMPARE(desktop.source.gpuProcesses().busiest.at(0).name, std::string("steam"));
    }

    // Reading a sleeping GPU's figures would wake it. While the card sleeps
    // nothing of it is opened but its power state, not even at the rescan
    // (the PCI core's vendor and device ids aside): with every other file a
    // folder that would count when opened, a rescan opens as many files as
    // when those are gone.
    void aSleepingCardIsNotOpenedEvenAtTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("amd-desktop", dir);
        QVERIFY(!root.isEmpty());
        const QString device = root + kDesktopAmd;
        QVERIFY(writeFile(device + "power/runtime_status", "suspended\n"));
        const QStringList files = {"gpu_busy_percent",
                                   "mem_busy_percent",
                                   "mem_info_vram_used",
                                   "mem_info_vram_total",
                                   "power_state",
                                   "hwmon/hwmon2/temp1_input",
                                   "hwmon/hwmon2/temp1_label",
                                   "hwmon/hwmon2/power1_average",
                                   "hwmon/hwmon2/freq1_input",
                                   "hwmon/hwmon2/fan1_input"};
        for (const QString& file : files)
            QVERIFY(replaceWithDirectory(device + file));
        GpuOn desktop(root.toStdString());
        const auto countOneCycle = [&] {
            desktop.clock->advance(10); // a rescan every time
            const auto before = openedFileCount();
            const auto gpus = desktop.source.gpus();
            return std::make_pair(openedFileCount() - before, gpus);
        };
        const auto [withFiles, gpus] = countOneCycle();
        QVERIFY(gpus.at(0).suspended);
        QCOMPARE(gpus[0].name, std::string("AMD GPU [1002:73ff]"));
        QCOMPARE(figures(gpus[0]), kNoFigures);
        QVERIFY(QDir(device + "hwmon").removeRecursively());
        for (const QString& file : files)
            QDir(device + file).removeRecursively();
        QCOMPARE(countOneCycle().first, withFiles);

        // A cycle between rescans opens its runtime status alone.
        const auto before = openedFileCount();
        desktop.source.gpus();
        QCOMPARE(openedFileCount() - before, std::uint64_t(1));

        // D3cold counts as asleep too.
        QVERIFY(writeFile(device + "power/runtime_status", "active\n"));
        QVERIFY(writeFile(device + "power_state", "D3cold\n"));
        QVERIFY(desktop.source.gpus().at(0).suspended);
    }

    // NVML starts only while every NVIDIA GPU is awake and stops when one
    // sleeps; each failing call leaves only its figure unknown.
    void nvidiaThroughNvml() {
        QTemporaryDir dir;
        const QString root = copyFixture("nvidia-dual", dir);
        QVERIFY(!root.isEmpty());
        const QString log = dir.path() + "/nvml.log";
        const QString script = dir.path() + "/nvml.script";
        QVERIFY(writeNvmlScript(script, "fail nvmlDeviceGetPowerUsage 0\n"));
        NvmlEnv env(script, log);
        const QString secondCard = root + "/sys/devices/pci0000:00/0000:00:02.0/0000:02:00.0/";

        QVERIFY(writeFile(secondCard + "power/runtime_status", "suspended\n"));
        GpuOn desktop(root.toStdString());
        auto gpus = desktop.source.gpus();
        QCOMPARE(gpus.size(), std::size_t(2));
        QVERIFY(!gpus[0].suspended && gpus[1].suspended);
        QCOMPARE(figures(gpus[0]), kNoFigures);
        QVERIFY(!QFile::exists(log)); // never initialised

        QVERIFY(writeFile(secondCard + "power/runtime_status", "active\n"));
        desktop.clock->advance(1);
        gpus = desktop.source.gpus();
        QCOMPARE(readAll(log), QString("init\n"));
        QCOMPARE(gpus[0].name, std::string("NVIDIA GeForce RTX 3060"));
        // The power call failed; the fan is a percentage, never RPM.
        QCOMPARE(figures(gpus[0]), QStringLiteral("45 30 1073741824 12884901888 61 - 1800 - 40"));
        QCOMPARE(gpus[1].name, std::string("NVIDIA T400"));
        QCOMPARE(gpus[1].powerWatts, std::optional<double>(15));

        desktop.clock->advance(1);
        desktop.source.gpus();
        QCOMPARE(readAll(log), QString("init\n")); // one session across cycles

        QVERIFY(writeFile(secondCard + "power_state", "D3cold\n"));
        desktop.clock->advance(1);
        gpus = desktop.source.gpus();
        QCOMPARE(readAll(log), QString("init\nshutdown\n"));
        QVERIFY(gpus[1].suspended && !gpus[0].busyPercent);
    }

    void nvmlFailures() {
        // Without the library: the cards are listed, with no figures.
        QTemporaryDir dir;
        GpuSourceOptions missing;
        missing.nvmlLibrary = "libnvidia-ml-absent.so.1";
        LinuxGpuSource source(RootPath(fixturePath("nvidia-dual")), std::make_shared<FakeClock>(),
                              missing);
        for (int cycle = 0; cycle < 2; ++cycle) {
            const auto gpus = source.gpus();
            QCOMPARE(gpus.size(), std::size_t(2));
            QCOMPARE(gpus[0].name, std::string("NVIDIA GPU [10de:2504]"));
            QCOMPARE(figures(gpus[0]), kNoFigures);
        }

        // A library whose start fails is tried again only after a while.
        const QString log = dir.path() + "/nvml.log";
        QVERIFY(writeNvmlScript(dir.path() + "/script", "initfail\n"));
        NvmlEnv env(dir.path() + "/script", log);
        GpuOn failing(fixturePath("nvidia-dual"));
        failing.source.gpus();
        failing.clock->advance(1);
        QVERIFY(!failing.source.gpus()[0].busyPercent);
        QCOMPARE(readAll(log), QString("init\n"));
        QVERIFY(writeNvmlScript(dir.path() + "/script"));
        failing.clock->advance(10);
        QCOMPARE(failing.source.gpus()[0].busyPercent, std::optional<double>(45));
    }
};

QTEST_GUILESS_MAIN(TestGpuSource)
#include "tst_gpu_source.moc"
