#include "fixture_tree.h"
#include "platform/linux/linux_thermal_source.h"
#include "platform/linux/sysfs_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

using ThermalOn = SourceOn<LinuxThermalSource>;

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

} // namespace

class TestThermalSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesAndNumberedNames() {
        QCOMPARE(parseMilliCelsius("52000\n"sv), std::optional<double>(52.0));
        QCOMPARE(parseMilliCelsius("-7500"sv), std::optional<double>(-7.5));
        QVERIFY(!parseMilliCelsius(""sv));
        QVERIFY(!parseMilliCelsius("N/A\n"sv));

        QCOMPARE(numberedName("hwmon10"sv, "hwmon"sv), std::optional<int>(10));
        QCOMPARE(numberedName("temp2_input"sv, "temp"sv, "_input"sv), std::optional<int>(2));
        QVERIFY(!numberedName("temp2_label"sv, "temp"sv, "_input"sv));
        QVERIFY(!numberedName("temp_input"sv, "temp"sv, "_input"sv));
        QVERIFY(!numberedName("cpufreq"sv, "cpu"sv));
        QVERIFY(!numberedName("card0-DP-1"sv, "card"sv));
    }

    void sensorsOfEachMachine() {
        // hwmon in numeric order (hwmon3 before hwmon10, temp2 before temp10),
        // then the thermal zones.
        ThermalOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto sensors = laptop.source.sensors();
        QVERIFY(sensors);
        QCOMPARE(productNames(*sensors),
                 (std::vector<std::string>{"acpitz", "nvme Composite", "nvme Sensor 1", "iwlwifi_1",
                                           "coretemp Package id 0", "coretemp Core 0",
                                           "coretemp Core 4", "coretemp Core 8", "coretemp Core 9",
                                           "acpitz", "x86_pkg_temp"}));
        QCOMPARE(laptop.source.readCelsius(*sensorNamed(*sensors, "coretemp Package id 0")),
                 std::optional<double>(52.0));
        QCOMPARE(laptop.source.readCelsius(sensors->back()), std::optional<double>(52.0));
        QCOMPARE(laptop.source.readCelsius((*sensors)[1]), std::optional<double>(38.85));

        // The thermal folder holds only a cooling device: hwmon inputs alone.
        ThermalOn desktop(fixturePath("amd-desktop"));
        const auto desktopSensors = desktop.source.sensors();
        QVERIFY(desktopSensors);
        QCOMPARE(productNames(*desktopSensors),
                 (std::vector<std::string>{"nvme Composite", "k10temp Tctl", "k10temp Tccd1",
                                           "amdgpu edge"}));
        QCOMPARE(desktop.source.readCelsius((*desktopSensors)[1]), std::optional<double>(45.25));

        ThermalOn arm(fixturePath("arm-biglittle"));
        const auto armSensors = arm.source.sensors();
        QVERIFY(armSensors);
        QCOMPARE(armSensors->size(), std::size_t(7));
        QCOMPARE(armSensors->front().productName, std::string("soc-thermal"));
        QCOMPARE((*armSensors)[1].productName, std::string("bigcore0-thermal"));
        QCOMPARE(arm.source.readCelsius((*armSensors)[1]), std::optional<double>(42.461));

        // No thermal services at all.
        QVERIFY(!ThermalOn(fixturePath("bare-vm")).source.sensors());
    }

    void listFollowsDriversAndTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        ThermalOn thermal(root.toStdString());
        auto sensors = thermal.source.sensors();
        QVERIFY(sensors);
        const auto package = *sensorNamed(*sensors, "coretemp Package id 0");
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon10/temp1_input", "61500\n"));
        QCOMPARE(thermal.source.readCelsius(package), std::optional<double>(61.5));

        // A new sensor is not picked up before the list is due for a rescan...
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon11/name", "acpi_fan\n"));
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon11/temp1_input", "30000\n"));
        QCOMPARE(thermal.source.sensors()->size(), sensors->size());
        // ...but a renumbered driver, whose old input is gone, is followed at once.
        QVERIFY(QDir(root + "/sys/class/hwmon").rename("hwmon10", "hwmon12"));
        QVERIFY(!thermal.source.readCelsius(package));
        sensors = thermal.source.sensors();
        const auto* moved = sensorNamed(*sensors, "coretemp Package id 0");
        QVERIFY(moved);
        QVERIFY(moved->handle.find("hwmon12") != std::string::npos);
        QVERIFY(sensorNamed(*sensors, "acpi_fan"));
        QCOMPARE(thermal.source.readCelsius(*moved), std::optional<double>(61.5));

        // And the list is looked up again at the interval.
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon13/temp1_input", "30000\n"));
        QCOMPARE(thermal.source.sensors()->size(), sensors->size());
        thermal.clock->advance(10);
        QCOMPARE(thermal.source.sensors()->size(), sensors->size() + 1);
    }

    void brokenInputsHaveNoValue() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(writeFile(root + "/sys/class/hwmon/hwmon10/temp1_input", "hot\n"));
        QVERIFY(replaceWithDirectory(root + "/sys/class/hwmon/hwmon10/temp2_input"));
        QVERIFY(writeFile(root + "/sys/class/thermal/thermal_zone0/temp", ""));
        ThermalOn thermal(root.toStdString());
        const auto sensors = thermal.source.sensors();
        QVERIFY(sensors);
        QVERIFY(!thermal.source.readCelsius(*sensorNamed(*sensors, "coretemp Package id 0")));
        QVERIFY(!thermal.source.readCelsius(*sensorNamed(*sensors, "coretemp Core 0")));
        QVERIFY(!thermal.source.readCelsius((*sensors)[sensors->size() - 2])); // thermal_zone0
        QVERIFY(!thermal.source.readCelsius(ThermalSensor{"nothing", root.toStdString()}));

        QVERIFY(!ThermalOn(dir.path().toStdString() + "/nothing-here").source.sensors());
    }
};

QTEST_GUILESS_MAIN(TestThermalSource)
#include "tst_thermal_source.moc"
