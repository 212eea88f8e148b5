#include "fixture_copy.h"
#include "platform/linux/linux_system_counters.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace pw::platform;

namespace {

std::string fixture(const char* name) {
    return std::string(PW_FIXTURES) + "/" + name;
}

std::vector<std::string> productNames(const std::vector<ThermalSensor>& sensors) {
    std::vector<std::string> names;
    for (const auto& sensor : sensors) {
        names.push_back(sensor.productName);
    }
    return names;
}

const ThermalSensor* sensorNamed(const std::vector<ThermalSensor>& sensors,
                                 const std::string& name) {
    for (const auto& sensor : sensors) {
        if (sensor.productName == name) {
            return &sensor;
        }
    }
    return nullptr;
}

bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0;
}

constexpr std::uint64_t KiB = 1024;

} // namespace

class TestLinuxCounters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void intelHybridLaptop() {
        LinuxSystemCounters counters(fixture("intel-hybrid-laptop"));

        const auto topology = counters.coreTopology();
        QCOMPARE(topology.performanceLevel0, std::optional<int>(12));
        QCOMPARE(topology.performanceLevel1, std::optional<int>(8));
        QCOMPARE(topology.efficiencyCpus,
                 std::optional<std::vector<int>>({12, 13, 14, 15, 16, 17, 18, 19}));

        const auto cpus = counters.cpuTicks();
        QVERIFY(cpus);
        QCOMPARE(cpus->size(), std::size_t(20));
        QCOMPARE(cpus->back().cpu, 19);

        const auto memory = counters.memory();
        QVERIFY(memory);
        QCOMPARE(memory->totalBytes, 32532580 * KiB);
        QCOMPARE(memory->wiredBytes, (300224 + 24576 + 65536 + 131072) * KiB);
        QCOMPARE(memory->appBytes, 4830176 * KiB);
        QCOMPARE(memory->compressedBytes, std::uint64_t(0));
        QCOMPARE(counters.swapUsedBytes(), std::optional<std::uint64_t>((8388604 - 8126460) * KiB));

        const auto interfaces = counters.networkInterfaces();
        QVERIFY(interfaces);
        QCOMPARE(interfaces->size(), std::size_t(4));
        for (const auto& row : *interfaces) {
            QCOMPARE(row.backedByDevice, row.name == "wlp0s20f3");
        }
        QCOMPARE((*interfaces)[1].receivedBytes, std::uint64_t(1482003317));
        QCOMPARE((*interfaces)[1].sentBytes, std::uint64_t(92003110));

        const auto supplies = counters.powerSupplies();
        QCOMPARE(supplies.size(), std::size_t(3));
        QCOMPARE(supplies[0].name, std::string("AC"));
        QCOMPARE(supplies[0].type, std::string("Mains"));
        const auto& battery = supplies[1];
        QCOMPARE(battery.name, std::string("BAT0"));
        QCOMPARE(battery.type, std::string("Battery"));
        QCOMPARE(battery.scope, std::string());
        QCOMPARE(battery.status, std::string("Discharging"));
        QCOMPARE(battery.capacity, std::optional<std::int64_t>(73));
        QCOMPARE(battery.energyNow, std::optional<std::int64_t>(38415000));
        QCOMPARE(battery.energyFull, std::optional<std::int64_t>(52110000));
        QCOMPARE(battery.powerNow, std::optional<std::int64_t>(9472000));
        QCOMPARE(battery.voltageNow, std::optional<std::int64_t>(16281000));
        QVERIFY(!battery.chargeNow);
        QVERIFY(!battery.currentNow);
        QCOMPARE(supplies[2].name, std::string("hid-34:88:5d:12:ab:cd-battery"));
        QCOMPARE(supplies[2].scope, std::string("Device"));
        QCOMPARE(supplies[2].capacity, std::optional<std::int64_t>(55));

        // hwmon in numeric order (hwmon3 before hwmon10, temp2 before temp10),
        // then the thermal zones.
        const auto sensors = counters.thermalSensors();
        QVERIFY(sensors);
        QCOMPARE(productNames(*sensors),
                 (std::vector<std::string>{"acpitz", "nvme Composite", "nvme Sensor 1", "iwlwifi_1",
                                           "coretemp Package id 0", "coretemp Core 0",
                                           "coretemp Core 4", "coretemp Core 8", "coretemp Core 9",
                                           "acpitz", "x86_pkg_temp"}));
        QCOMPARE(counters.readThermalSensor(*sensorNamed(*sensors, "coretemp Package id 0")),
                 std::optional<double>(52.0));
        QCOMPARE(counters.readThermalSensor(sensors->back()), std::optional<double>(52.0));
        QCOMPARE(counters.readThermalSensor((*sensors)[1]), std::optional<double>(38.85));
    }

    void amdDesktop() {
        LinuxSystemCounters counters(fixture("amd-desktop"));
        const auto topology = counters.coreTopology();
        QCOMPARE(topology.performanceLevel0, std::optional<int>(16));
        QVERIFY(!topology.performanceLevel1);
        QVERIFY(!topology.efficiencyCpus);

        // A running guest: its time is inside user and nice and comes out again.
        const auto cpus = counters.cpuTicks();
        QVERIFY(cpus);
        QCOMPARE(cpus->front().user, std::uint64_t(250000 - 40000));
        QCOMPARE(cpus->front().nice, std::uint64_t(5000 - 1000));
        QCOMPARE(cpus->front().system, std::uint64_t(60000 + 1200 + 3400));
        QCOMPARE(cpus->front().idle, std::uint64_t(2000000 + 9000));

        QVERIFY(counters.powerSupplies().empty());

        // The thermal folder holds only a cooling device: hwmon inputs alone.
        const auto sensors = counters.thermalSensors();
        QVERIFY(sensors);
        QCOMPARE(productNames(*sensors),
                 (std::vector<std::string>{"nvme Composite", "k10temp Tctl", "k10temp Tccd1",
                                           "amdgpu edge"}));
        QCOMPARE(counters.readThermalSensor((*sensors)[1]), std::optional<double>(45.25));

        const auto interfaces = counters.networkInterfaces();
        QVERIFY(interfaces);
        QCOMPARE((*interfaces)[1].receivedBytes, std::uint64_t(98765432109));
        QVERIFY((*interfaces)[1].backedByDevice);
        QVERIFY(!(*interfaces)[3].backedByDevice); // vnet0, a VM's tap
    }

    void armBigLittle() {
        LinuxSystemCounters counters(fixture("arm-biglittle"));
        const auto topology = counters.coreTopology();
        QCOMPARE(topology.performanceLevel0, std::optional<int>(4));
        QCOMPARE(topology.performanceLevel1, std::optional<int>(4));
        QCOMPARE(topology.efficiencyCpus, std::optional<std::vector<int>>({0, 1, 2, 3}));

        const auto sensors = counters.thermalSensors();
        QVERIFY(sensors);
        QCOMPARE(sensors->size(), std::size_t(7));
        QCOMPARE(sensors->front().productName, std::string("soc-thermal"));
        QCOMPARE((*sensors)[1].productName, std::string("bigcore0-thermal"));
        QCOMPARE(counters.readThermalSensor((*sensors)[1]), std::optional<double>(42.461));

        // No Zswap line on this kernel, no swap configured.
        const auto memory = counters.memory();
        QVERIFY(memory);
        QCOMPARE(memory->compressedBytes, std::uint64_t(0));
        QCOMPARE(counters.swapUsedBytes(), std::optional<std::uint64_t>(0));

        // An offline big core is in neither count.
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(writeFile(root + "/sys/devices/system/cpu/online", "0-5,7\n"));
        const auto reduced = LinuxSystemCounters(root.toStdString()).coreTopology();
        QCOMPARE(reduced.performanceLevel0, std::optional<int>(3));
        QCOMPARE(reduced.performanceLevel1, std::optional<int>(4));
    }

    void bareVm() {
        QTemporaryDir dir;
        const QString root = copyFixture("bare-vm", dir);
        QVERIFY(!root.isEmpty());
        LinuxSystemCounters counters(root.toStdString());

        QVERIFY(!counters.thermalSensors()); // no thermal services at all
        QVERIFY(counters.powerSupplies().empty());

        const auto cpus = counters.cpuTicks();
        QVERIFY(cpus);
        QCOMPARE(cpus->size(), std::size_t(3));
        QCOMPARE((*cpus)[2].cpu, 3);                                 // cpu2 is offline
        QCOMPARE((*cpus)[0].system, std::uint64_t(2000 + 50 + 700)); // steal counts as system
        QCOMPARE(counters.coreTopology().performanceLevel0, std::optional<int>(3));

        const auto interfaces = counters.networkInterfaces();
        QVERIFY(interfaces);
        QCOMPARE(interfaces->size(), std::size_t(2));
        QVERIFY(!(*interfaces)[0].backedByDevice);
        QVERIFY((*interfaces)[1].backedByDevice);

        // Without the online list the CPU rows are counted.
        QVERIFY(QFile::remove(root + "/sys/devices/system/cpu/online"));
        const auto fallback = counters.coreTopology();
        QCOMPARE(fallback.performanceLevel0, std::optional<int>(3));
        QVERIFY(!fallback.performanceLevel1);
    }

    void zramAndZswapCountAsCompressed() {
        LinuxSystemCounters counters(fixture("zram-zswap"));
        const auto memory = counters.memory();
        QVERIFY(memory);
        QCOMPARE(memory->compressedBytes, 65536 * KiB + 283115520 + 20971520);
        QCOMPARE(memory->wiredBytes, (100000 + 12000 + 40000 + 4096) * KiB);
        QCOMPARE(counters.swapUsedBytes(),
                 std::optional<std::uint64_t>((12194300 - 10097148) * KiB));
        QCOMPARE(counters.coreTopology().performanceLevel0, std::optional<int>(4));
    }

    void processTable() {
        LinuxSystemCounters counters(fixture("processes"));
        auto table = counters.processTable();
        QVERIFY(table);
        std::sort(table->begin(), table->end(),
                  [](const ProcessStat& a, const ProcessStat& b) { return a.pid < b.pid; });
        std::vector<int> pids;
        for (const auto& row : *table) {
            pids.push_back(row.pid);
        }
        // 3000 has a cut-off stat; "self" and "uptime" are not processes.
        QCOMPARE(pids, (std::vector<int>{1, 2, 57, 812, 1234, 2001}));
        QCOMPARE((*table)[0].command, std::string("systemd"));
        QCOMPARE((*table)[0].cpuTicks, std::uint64_t(460));
        QCOMPARE((*table)[2].command, std::string("kworker/0:1-events"));
        QCOMPARE((*table)[3].command, std::string("(sd-pam)"));
        QCOMPARE((*table)[4].command, std::string("my (odd) name"));
        QCOMPARE((*table)[4].cpuTicks, std::uint64_t(5250));
        QCOMPARE((*table)[5].command, std::string("Web Content"));

        QCOMPARE(counters.processExecutable(1234),
                 std::optional<std::string>("/home/sam/bin/my (odd) name"));
        QCOMPARE(counters.processExecutable(2001),
                 std::optional<std::string>("/usr/lib/firefox/firefox"));
        QVERIFY(!counters.processExecutable(812)); // another user's process
        QVERIFY(!counters.processExecutable(2));   // kernel thread
        QVERIFY(!counters.processExecutable(99999));

        QCOMPARE(counters.processArguments(1234),
                 std::optional<std::vector<std::string>>(
                     {"/home/sam/bin/my (odd) name", "--flag", "", "last arg"}));
        QCOMPARE(counters.processArguments(2), std::optional(std::vector<std::string>{}));
        QVERIFY(!counters.processArguments(99999));

        QVERIFY(counters.ticksPerSecond() > 0);
        QCOMPARE(counters.uniformRandom(0), std::uint64_t(0));
        bool seen[4] = {};
        for (int i = 0; i < 1000; ++i) {
            const auto value = counters.uniformRandom(3);
            QVERIFY(value <= 3);
            seen[value] = true;
        }
        QVERIFY(seen[0] && seen[1] && seen[2] && seen[3]);
        const double earlier = counters.monotonicSeconds();
        QVERIFY(counters.monotonicSeconds() >= earlier);
        QVERIFY(!LinuxSystemCounters(fixture("no-such-machine")).processTable());
    }

    void readingsAreFreshAndCachesFollowChanges() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        LinuxSystemCounters counters(root.toStdString());

        const auto before = counters.cpuTicks();
        QVERIFY(writeFile(root + "/proc/stat", "cpu  9 9 9 9 9 9 9 9 0 0\n"
                                               "cpu0 1 0 1 5 0 0 0 0 0 0\n"));
        const auto after = counters.cpuTicks();
        QVERIFY(before && after);
        QCOMPARE(after->size(), std::size_t(1));
        QCOMPARE(after->front().idle, std::uint64_t(5));

        // A big server's /proc/stat is many times the first read's size.
        QByteArray big = "cpu  1 2 3 4 5 6 7 8 0 0\n";
        for (int cpu = 0; cpu < 384; ++cpu) {
            big += "cpu" + QByteArray::number(cpu) + " 123456789 0 23456789 987654321 1234 0 " +
                   QByteArray::number(cpu) + " 0 0 0\n";
        }
        QVERIFY(writeFile(root + "/proc/stat", big));
        const auto many = counters.cpuTicks();
        QVERIFY(many);
        QCOMPARE(many->size(), std::size_t(384));
        QCOMPARE(many->back().cpu, 383);
        QCOMPARE(many->back().system, std::uint64_t(23456789 + 383));

        // Swap answered along with memory is used once; later asks read again.
        QVERIFY(counters.memory());
        QVERIFY(counters.swapUsedBytes());
        QVERIFY(writeFile(root + "/proc/meminfo", "MemTotal: 100 kB\nSwapTotal: 50 kB\n"
                                                  "SwapFree: 20 kB\n"));
        QCOMPARE(counters.swapUsedBytes(), std::optional<std::uint64_t>(30 * KiB));
        QCOMPARE(counters.memory()->totalBytes, 100 * KiB);

        auto sensors = counters.thermalSensors();
        QVERIFY(sensors);
        const auto package = *sensorNamed(*sensors, "coretemp Package id 0");
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon10/temp1_input", "61500\n"));
        QCOMPARE(counters.readThermalSensor(package), std::optional<double>(61.5));

        // A new sensor is not picked up before the list is due for a rescan...
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon11/name", "acpi_fan\n"));
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon11/temp1_input", "30000\n"));
        QCOMPARE(counters.thermalSensors()->size(), sensors->size());
        // ...but a renumbered driver, whose old input is gone, is followed at once.
        QVERIFY(QDir(root + "/sys/class/hwmon").rename("hwmon10", "hwmon12"));
        QVERIFY(!counters.readThermalSensor(package));
        sensors = counters.thermalSensors();
        const auto* moved = sensorNamed(*sensors, "coretemp Package id 0");
        QVERIFY(moved);
        QVERIFY(moved->handle.find("hwmon12") != std::string::npos);
        QVERIFY(sensorNamed(*sensors, "acpi_fan"));
        QCOMPARE(counters.readThermalSensor(*moved), std::optional<double>(61.5));

        // The NIC flag is looked up again when the set of interfaces changes.
        QCOMPARE(counters.networkInterfaces()->at(2).backedByDevice, false);
        QVERIFY(writeFile(root + "/sys/class/net/docker0/device", ""));
        QCOMPARE(counters.networkInterfaces()->at(2).backedByDevice, false); // cached
        QVERIFY(writeFile(root + "/proc/net/dev", "Inter-| Receive | Transmit\n face |bytes|bytes\n"
                                                  " docker0: 5 0 0 0 0 0 0 0 6 0 0 0 0 0 0 0\n"));
        const auto renamed = counters.networkInterfaces();
        QCOMPARE(renamed->size(), std::size_t(1));
        QVERIFY(renamed->front().backedByDevice);

        // An unplugged mouse leaves the list; a new supply shows after a rescan.
        counters.setRescanIntervalSeconds(0);
        QVERIFY(QDir(root + "/sys/class/power_supply/hid-34:88:5d:12:ab:cd-battery")
                    .removeRecursively());
        QVERIFY(writeFile(root + "/sys/class/power_supply/BAT1/uevent",
                          "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_CAPACITY=12\n"));
        const auto supplies = counters.powerSupplies();
        QCOMPARE(supplies.size(), std::size_t(3));
        QCOMPARE(supplies[2].name, std::string("BAT1"));
        QCOMPARE(supplies[2].capacity, std::optional<std::int64_t>(12));
    }

    void brokenFilesGiveAbsentOrSkip() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        const auto replaceWithDirectory = [&](const QString& relative) {
            QFile::remove(root + relative);
            return QDir().mkpath(root + relative);
        };
        QVERIFY(replaceWithDirectory("/proc/stat"));
        QVERIFY(writeFile(root + "/proc/meminfo", ""));
        QVERIFY(writeFile(root + "/proc/net/dev", "Inter-| Receive"));
        QVERIFY(writeFile(root + "/sys/devices/cpu_atom/cpus", "twelve\n"));
        QVERIFY(writeFile(root + "/sys/devices/system/cpu/online", "0-3\n"));
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon10/temp1_input", "hot\n"));
        QVERIFY(replaceWithDirectory("/sys/class/hwmon/hwmon10/temp2_input"));
        QVERIFY(writeFile(root + "/sys/class/thermal/thermal_zone0/temp", ""));
        // BAT0 loses its uevent and falls back to the single files; AC loses both.
        QVERIFY(replaceWithDirectory("/sys/class/power_supply/BAT0/uevent"));
        QVERIFY(QFile::remove(root + "/sys/class/power_supply/AC/uevent"));
        QVERIFY(QFile::remove(root + "/sys/class/power_supply/AC/type"));

        LinuxSystemCounters counters(root.toStdString());
        QVERIFY(!counters.cpuTicks());
        QVERIFY(!counters.memory());
        QVERIFY(!counters.swapUsedBytes());
        QVERIFY(!counters.networkInterfaces());

        // Garbage in the hybrid list: treated as an ordinary machine.
        const auto topology = counters.coreTopology();
        QCOMPARE(topology.performanceLevel0, std::optional<int>(4));
        QVERIFY(!topology.efficiencyCpus);

        const auto sensors = counters.thermalSensors();
        QVERIFY(sensors);
        QVERIFY(!counters.readThermalSensor(*sensorNamed(*sensors, "coretemp Package id 0")));
        QVERIFY(!counters.readThermalSensor(*sensorNamed(*sensors, "coretemp Core 0")));
        QVERIFY(!counters.readThermalSensor((*sensors)[sensors->size() - 2])); // thermal_zone0
        QVERIFY(!counters.readThermalSensor(ThermalSensor{"nothing", root.toStdString()}));

        const auto supplies = counters.powerSupplies();
        QCOMPARE(supplies.size(), std::size_t(2));
        QCOMPARE(supplies[0].name, std::string("BAT0"));
        QCOMPARE(supplies[0].type, std::string("Battery"));
        QCOMPARE(supplies[0].capacity, std::optional<std::int64_t>(73));
        QCOMPARE(supplies[0].powerNow, std::optional<std::int64_t>(9472000));

        // A root with nothing in it at all.
        LinuxSystemCounters empty(dir.path().toStdString() + "/nothing-here");
        QVERIFY(!empty.cpuTicks());
        QVERIFY(!empty.memory());
        QVERIFY(!empty.networkInterfaces());
        QVERIFY(!empty.thermalSensors());
        QVERIFY(empty.powerSupplies().empty());
        QVERIFY(!empty.coreTopology().performanceLevel0);
        QVERIFY(!empty.processTable());
        QVERIFY(!empty.processArguments(1));
    }
};

QTEST_GUILESS_MAIN(TestLinuxCounters)
#include "tst_linux_counters.moc"
