#include "fixture_tree.h"
#include "platform/linux/linux_power_source.h"
#include "platform/linux/sysfs_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

using PowerOn = SourceOn<LinuxPowerSource>;

// A supply in one line: name, type, scope, status, then capacity, energy now
// and full, power, voltage, charge now, current ("-" where unknown).
QString describe(const PowerSupply& s) {
    QStringList parts{QString::fromStdString(s.name), QString::fromStdString(s.type),
                      QString::fromStdString(s.scope), QString::fromStdString(s.status)};
    for (const auto& v : {s.capacity, s.energyNow, s.energyFull, s.powerNow, s.voltageNow,
                          s.chargeNow, s.currentNow})
        parts << (v ? QString::number(*v) : QStringLiteral("-"));
    return parts.join('|');
}

} // namespace

class TestPowerSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ueventLines() {
        const auto supply = parsePowerSupplyUevent("POWER_SUPPLY_NAME=BAT0\n"
                                                   "POWER_SUPPLY_TYPE=Battery\n"
                                                   "POWER_SUPPLY_STATUS=Not charging\n"
                                                   "POWER_SUPPLY_CAPACITY=73\n"
                                                   "POWER_SUPPLY_CURRENT_NOW=-1500000\n"
                                                   "POWER_SUPPLY_VOLTAGE_NOW=junk\n"
                                                   "POWER_SUPPLY_ENERGY_FULL_DESIGN=57000000\n"
                                                   "OTHER_CAPACITY=12\n"
                                                   "POWER_SUPPLY_CHARGE_NOW"sv);
        // No voltage from junk; ENERGY_FULL_DESIGN is another key than ENERGY_FULL.
        QCOMPARE(describe(supply).section('|', 1),
                 QStringLiteral("Battery||Not charging|73|-|-|-|-|-|-1500000"));
    }

    void suppliesOfEachMachine() {
        const auto supplies = PowerOn(fixturePath("intel-hybrid-laptop")).source.powerSupplies();
        QCOMPARE(supplies.size(), std::size_t(3));
        QVERIFY(describe(supplies[0]).startsWith("AC|Mains|"));
        QCOMPARE(describe(supplies[1]), QStringLiteral("BAT0|Battery||Discharging|73|38415000|"
                                                       "52110000|9472000|16281000|-|-"));
        QVERIFY(describe(supplies[2]).startsWith("hid-34:88:5d:12:ab:cd-battery|"));
        QCOMPARE(supplies[2].scope, std::string("Device"));
        QCOMPARE(supplies[2].capacity, std::optional<std::int64_t>(55));

        QVERIFY(PowerOn(fixturePath("amd-desktop")).source.powerSupplies().empty());
        QVERIFY(PowerOn(fixturePath("bare-vm")).source.powerSupplies().empty());
    }

    void aGoneSupplyIsDroppedAtOnceANewOneAtTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        PowerOn power(root.toStdString());
        QCOMPARE(power.source.powerSupplies().size(), std::size_t(3));

        QVERIFY(writeFile(root + "/sys/class/power_supply/BAT1/uevent",
                          "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_CAPACITY=12\n"));
        QCOMPARE(power.source.powerSupplies().size(), std::size_t(3));
        power.clock->advance(10);
        QCOMPARE(power.source.powerSupplies().size(), std::size_t(4));

        // An unplugged mouse leaves the list in that reading.
        QVERIFY(QDir(root + "/sys/class/power_supply/hid-34:88:5d:12:ab:cd-battery")
                    .removeRecursively());
        const auto supplies = power.source.powerSupplies();
        QCOMPARE(supplies.size(), std::size_t(3));
        QCOMPARE(supplies[2].name, std::string("BAT1"));
        QCOMPARE(supplies[2].capacity, std::optional<std::int64_t>(12));
    }

    void brokenUeventFallsBackToSingleFiles() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        // BAT0 loses its uevent and falls back to the single files; AC loses both.
        QVERIFY(replaceWithDirectory(root + "/sys/class/power_supply/BAT0/uevent"));
        QVERIFY(QFile::remove(root + "/sys/class/power_supply/AC/uevent"));
        QVERIFY(QFile::remove(root + "/sys/class/power_supply/AC/type"));
        const auto supplies = PowerOn(root.toStdString()).source.powerSupplies();
        QCOMPARE(supplies.size(), std::size_t(2));
        QVERIFY(describe(supplies[0]).startsWith("BAT0|Battery|"));
        QCOMPARE(supplies[0].capacity, std::optional<std::int64_t>(73));
        QCOMPARE(supplies[0].powerNow, std::optional<std::int64_t>(9472000));

        QVERIFY(PowerOn(dir.path().toStdString() + "/nothing-here").source.powerSupplies().empty());
    }
};

QTEST_GUILESS_MAIN(TestPowerSource)
#include "tst_power_source.moc"
