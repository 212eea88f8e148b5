#include "fixture_copy.h"
#include "platform/linux/linux_system_counters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace pw::platform;

namespace {

std::string fixture(const char* name) {
    return std::string(PW_FIXTURES) + "/" + name;
}

bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0;
}

std::vector<std::string> remotes(const std::vector<TcpConnection>& connections) {
    std::vector<std::string> addresses;
    for (const auto& connection : connections) {
        addresses.push_back(connection.remoteAddress + ":" + std::to_string(connection.remotePort));
    }
    return addresses;
}

std::vector<std::pair<std::string, std::int64_t>> fanList(const std::vector<FanReading>& fans) {
    std::vector<std::pair<std::string, std::int64_t>> list;
    for (const auto& fan : fans) {
        list.emplace_back(fan.label, fan.rpm);
    }
    return list;
}

bool near(double a, double b) {
    return std::abs(a - b) < 1e-6;
}

} // namespace

class TestDeviceCounters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void intelHybridLaptop() {
        LinuxSystemCounters counters(fixture("intel-hybrid-laptop"));

        const auto clock = counters.cpuClockMHz();
        QVERIFY(clock);
        QVERIFY(near(*clock, 2880.0));

        // i915 offers no load figure: the GPU is known, its figures are not.
        const auto gpu = counters.gpu();
        QVERIFY(gpu);
        QCOMPARE(gpu->name, std::string("i915"));
        QVERIFY(!gpu->busyPercent && !gpu->vramTotalBytes);

        QCOMPARE(counters.npuBusyMicroseconds(), std::optional<std::uint64_t>(123456789));

        const auto volume = counters.rootVolume();
        QVERIFY(volume);
        QCOMPARE(volume->name, std::string("Debian Root"));
        QCOMPARE(volume->device, std::string("nvme0n1p2"));
        QCOMPARE(volume->rotational, std::optional<bool>(false));
        QVERIFY(volume->totalBytes > 0 && volume->availableBytes <= volume->totalBytes);
        const auto block = counters.rootBlockDevice();
        QVERIFY(block);
        QCOMPARE(block->device, std::string("nvme0n1p2"));
        QVERIFY(block->sectorsRead > 0 && block->sectorsWritten > 0);

        const auto route = counters.defaultRoute();
        QVERIFY(route);
        QCOMPARE(route->interfaceName, std::string("wlp0s20f3"));
        QVERIFY(route->wireless);
        QCOMPARE(route->ipv4Address, std::optional<std::string>("192.168.1.23"));

        const auto connections = counters.establishedTcpConnections(3);
        QVERIFY(connections);
        QCOMPARE(remotes(*connections),
                 std::vector<std::string>(
                     {"140.82.112.21:443", "151.101.1.69:443", "2a00:1450:4001:82b::200e:443"}));
        QCOMPARE(counters.establishedTcpConnections(1)->size(), std::size_t(1));

        QCOMPARE(fanList(counters.fans()),
                 (std::vector<std::pair<std::string, std::int64_t>>{{"thinkpad fan1", 2240}}));
    }

    void amdDesktop() {
        LinuxSystemCounters counters(fixture("amd-desktop"));

        QVERIFY(near(counters.cpuClockMHz().value_or(0), 3900.0));

        const auto gpu = counters.gpu();
        QVERIFY(gpu);
        QCOMPARE(gpu->name, std::string("amdgpu"));
        QCOMPARE(gpu->busyPercent, std::optional<double>(37));
        QCOMPARE(gpu->memoryBusyPercent, std::optional<double>(12));
        QCOMPARE(gpu->vramUsedBytes, std::optional<std::uint64_t>(2ull << 30));
        QCOMPARE(gpu->vramTotalBytes, std::optional<std::uint64_t>(8573157376ull));
        QCOMPARE(gpu->temperatureCelsius, std::optional<double>(39));
        QVERIFY(!counters.npuBusyMicroseconds());

        // A device-mapper root has no label: it is named by its mount point.
        const auto volume = counters.rootVolume();
        QVERIFY(volume);
        QCOMPARE(volume->name, std::string("/"));
        QCOMPARE(volume->device, std::string("dm-0"));
        QCOMPARE(volume->rotational, std::optional<bool>(false));
        QVERIFY(counters.rootBlockDevice());

        const auto route = counters.defaultRoute();
        QVERIFY(route);
        QCOMPARE(route->interfaceName, std::string("enp5s0"));
        QVERIFY(!route->wireless);
        QCOMPARE(route->ipv4Address, std::optional<std::string>("10.0.0.5"));

        // Only listening sockets and no tcp6: readable, but nothing established.
        const auto connections = counters.establishedTcpConnections(3);
        QVERIFY(connections);
        QVERIFY(connections->empty());

        // A stopped fan reads 0 and is shown; a garbled input is left out.
        QCOMPARE(fanList(counters.fans()),
                 (std::vector<std::pair<std::string, std::int64_t>>{{"amdgpu fan1", 0},
                                                                    {"CPU Fan", 812},
                                                                    {"nct6798 fan2", 0},
                                                                    {"nct6798 fan3", 1104}}));
    }

    void machinesWithoutTheSources() {
        LinuxSystemCounters vm(fixture("bare-vm"));
        // No cpufreq: the cpuinfo mean.
        QVERIFY(near(vm.cpuClockMHz().value_or(0), 2394.456));
        QVERIFY(!vm.gpu());
        QVERIFY(!vm.npuBusyMicroseconds());
        QVERIFY(vm.fans().empty());
        QVERIFY(!vm.defaultRoute()); // a route table without a default route
        QVERIFY(!vm.establishedTcpConnections(3));
        const auto volume = vm.rootVolume();
        QVERIFY(volume);
        QCOMPARE(volume->name, std::string("cloudimg-rootfs"));
        QCOMPARE(volume->rotational, std::optional<bool>(true));

        // big.LITTLE: each policy weighs as many CPUs as it drives.
        LinuxSystemCounters arm(fixture("arm-biglittle"));
        QVERIFY(near(arm.cpuClockMHz().value_or(0), 1716.0));
        const auto armVolume = arm.rootVolume();
        QVERIFY(armVolume);
        QCOMPARE(armVolume->device, std::string("mmcblk0p2"));
        QCOMPARE(armVolume->name, std::string("rootfs"));
        const auto route = arm.defaultRoute();
        QVERIFY(route);
        QCOMPARE(route->interfaceName, std::string("end0"));
        QVERIFY(!route->ipv4Address); // no fib_trie to find it in

        // An empty tree has none of the sources at all.
        QTemporaryDir empty;
        LinuxSystemCounters nothing(empty.path().toStdString());
        QVERIFY(!nothing.cpuClockMHz());
        QVERIFY(!nothing.gpu());
        QVERIFY(!nothing.rootBlockDevice());
        QVERIFY(!nothing.defaultRoute());
        QVERIFY(!nothing.establishedTcpConnections(3));
        QVERIFY(nothing.fans().empty());
        const auto unnamed = nothing.rootVolume(); // statvfs still answers
        QVERIFY(unnamed);
        QCOMPARE(unnamed->name, std::string("/"));
        QVERIFY(unnamed->device.empty());
    }

    void malformedAndChangingFiles() {
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(!root.isEmpty());
        const QString cpufreq = root + "/sys/devices/system/cpu/cpufreq/";
        LinuxSystemCounters counters(root.toStdString());
        counters.setRescanIntervalSeconds(0);

        // Three of the big cores went offline.
        QVERIFY(writeFile(cpufreq + "policy4/affected_cpus", "4\n"));
        QVERIFY(near(counters.cpuClockMHz().value_or(0), (4 * 1416.0 + 2016.0) / 5));

        // A garbled policy is left out of the mean.
        QVERIFY(writeFile(cpufreq + "policy0/scaling_cur_freq", "<unknown>\n"));
        QVERIFY(near(counters.cpuClockMHz().value_or(0), 2016.0));
        QVERIFY(writeFile(cpufreq + "policy4/scaling_cur_freq", "0\n"));
        QVERIFY(!counters.cpuClockMHz()); // and no cpuinfo figure to fall back on

        // A truncated mountinfo: the volume keeps its space, loses its identity.
        QVERIFY(writeFile(root + "/proc/self/mountinfo", "22 1 179:2 / "));
        const auto volume = counters.rootVolume();
        QVERIFY(volume);
        QCOMPARE(volume->name, std::string("/"));
        QVERIFY(volume->device.empty());
        QVERIFY(!counters.rootBlockDevice());

        QVERIFY(writeFile(root + "/proc/net/route", "Iface\tDestination\n\x01\x02garbage"));
        QVERIFY(!counters.defaultRoute());

        QTemporaryDir amdDir;
        const QString amd = copyFixture("amd-desktop", amdDir);
        QVERIFY(!amd.isEmpty());
        LinuxSystemCounters desktop(amd.toStdString());
        desktop.setRescanIntervalSeconds(0);
        const QString gpuDir = amd + "/sys/class/drm/card0/device/";
        QVERIFY(writeFile(gpuDir + "gpu_busy_percent", "busy\n"));
        QVERIFY(writeFile(gpuDir + "mem_info_vram_used", "-5\n"));
        const auto gpu = desktop.gpu();
        QVERIFY(gpu);
        QVERIFY(!gpu->busyPercent && !gpu->vramUsedBytes);
        QCOMPARE(gpu->memoryBusyPercent, std::optional<double>(12));

        QVERIFY(writeFile(amd + "/proc/net/tcp", "  sl  local_address rem_address   st\n"
                                                 "   0: 0100007F:0277 garbage\n"));
        const auto connections = desktop.establishedTcpConnections(3);
        QVERIFY(connections && connections->empty());
    }

    void ownProcessResources() {
        LinuxSystemCounters counters("/");
        const auto own = counters.processResources(static_cast<int>(::getpid()));
        QVERIFY(own.residentBytes.value_or(0) > 0);
        // io is readable for one's own processes wherever task accounting is built in.
        if (QFile::exists("/proc/self/io")) {
            QVERIFY(own.storageReadBytes && own.storageWrittenBytes);
        }
        const auto gone = counters.processResources(-1);
        QVERIFY(!gone.residentBytes && !gone.storageReadBytes);
    }
};

QTEST_GUILESS_MAIN(TestDeviceCounters)
#include "tst_device_counters.moc"
