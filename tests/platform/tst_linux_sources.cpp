// The pieces every Linux source shares: the text scanner, the clocks, the
// one root all areas read under; and the fans, the smallest area.
#include "fixture_tree.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_fan_source.h"
#include "platform/linux/linux_sources.h"
#include "platform/linux/linux_thermal_source.h"
#include "platform/linux/text_scan.h"

#include <QDir>
#include <QTest>

#include <ctime>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

using FanList = std::vector<std::pair<std::string, std::int64_t>>;

FanList fans(LinuxFanSource& source) {
    FanList list;
    for (const auto& fan : source.fans())
        list.emplace_back(fan.label, fan.rpm);
    return list;
}

} // namespace

class TestLinuxSources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every parser splits and trims on the same blanks, whichever file it reads.
    void blanksAreTheSameEverywhere() {
        QCOMPARE(trimmed(" \t\r\n\v\fvalue \r\n"sv), "value"sv);
        QCOMPARE(words("a\tb\r c\vd\fe\n"sv),
                 (std::vector<std::string_view>{"a", "b", "c", "d", "e"}));
        QVERIFY(words(" \t\r\n"sv).empty());
        std::vector<std::string_view> lines;
        forEachLine("one\ntwo\r\n\nlast"sv, [&](std::string_view line) { lines.push_back(line); });
        QCOMPARE(lines, (std::vector<std::string_view>{"one", "two\r", "", "last"}));
    }

    void numbersAreWholeOrAbsent() {
        QCOMPARE(wholeNumber<std::uint64_t>("18446744073709551615"sv), UINT64_MAX);
        QVERIFY(!wholeNumber<std::uint64_t>("18446744073709551616"sv)); // overflow
        QVERIFY(!wholeNumber<std::uint64_t>("-1"sv));
        QVERIFY(!wholeNumber<int>("12 "sv) && !wholeNumber<int>(""sv));
        QCOMPARE(wholeNumber<std::uint32_t>("0101A8C0"sv, 16),
                 std::optional<std::uint32_t>(0x0101A8C0));
        QCOMPARE(parseInteger(" +42\n"sv), std::optional<std::int64_t>(42));
        QCOMPARE(parseInteger("-7"sv), std::optional<std::int64_t>(-7));
        QVERIFY(!parseInteger("+-7"sv) && !parseInteger("4 2"sv));
        QCOMPARE(decimalNumber("2394.456"sv), std::optional<double>(2394.456));
        for (auto bad : {"inf"sv, "nan"sv, "1.5 GHz"sv})
            QVERIFY(!decimalNumber(bad));
        QCOMPARE(hexDigit('F'), 15);
        QCOMPARE(hexDigit('g'), -1);
    }

    void clocks() {
        LinuxClock clock;
        const double earlier = clock.monotonicSeconds();
        QVERIFY(clock.monotonicSeconds() >= earlier);
        // The wall clock is the epoch's; allow for the second ticking over.
        QVERIFY(std::abs(clock.wallSeconds() - static_cast<double>(std::time(nullptr))) < 2.0);
    }

    // Every area reads under the one root it was given.
    void everyAreaReadsTheGivenTree() {
        const Sources sources = makeLinuxSources(fixturePath("intel-hybrid-laptop") + "/");
        QVERIFY(sources.cpu && sources.memory && sources.network && sources.connections &&
                sources.power && sources.thermal && sources.storage && sources.gpu &&
                sources.fans && sources.processes && sources.clock);
        QCOMPARE(sources.cpu->cpuTicks()->size(), std::size_t(20));
        QCOMPARE(sources.memory->memory()->totalBytes, std::uint64_t(32532580) * 1024);
        QCOMPARE(sources.network->defaultRoute()->interfaceName, std::string("wlp0s20f3"));
        QCOMPARE(sources.connections->established(1)->size(), std::size_t(1));
        QCOMPARE(sources.power->powerSupplies().size(), std::size_t(3));
        QCOMPARE(sources.thermal->sensors()->size(), std::size_t(11));
        QCOMPARE(sources.storage->rootVolume()->name, std::string("Debian Root"));
        QCOMPARE(sources.gpu->gpus().size(), std::size_t(1));
        QCOMPARE(sources.fans->fans().size(), std::size_t(1));
        // The laptop tree has no processes: the live /proc is not read.
        QCOMPARE(sources.processes->processTable()->size(), std::size_t(0));
    }

    void fansOfEachMachine() {
        SourceOn<LinuxFanSource> laptop(fixturePath("intel-hybrid-laptop"));
        QCOMPARE(fans(laptop.source), (FanList{{"thinkpad fan1", 2240}}));
        // A stopped fan reads 0 and is shown; a garbled input is left out.
        SourceOn<LinuxFanSource> desktop(fixturePath("amd-desktop"));
        QCOMPARE(fans(desktop.source), (FanList{{"amdgpu fan1", 0},
                                                {"CPU Fan", 812},
                                                {"nct6798 fan2", 0},
                                                {"nct6798 fan3", 1104}}));
        SourceOn<LinuxFanSource> vm(fixturePath("bare-vm"));
        QVERIFY(vm.source.fans().empty());
        QTemporaryDir empty;
        SourceOn<LinuxFanSource> nothing(empty.path().toStdString());
        QVERIFY(nothing.source.fans().empty());
    }

    void fanSpeedsAreFreshTheListRescanned() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        SourceOn<LinuxFanSource> laptop(root.toStdString());
        QCOMPARE(laptop.source.fans().size(), std::size_t(1));
        const QString hwmon = root + "/sys/class/hwmon/hwmon13/";
        QVERIFY(writeFile(hwmon + "fan1_input", "900\n"));
        QCOMPARE(laptop.source.fans().size(), std::size_t(1));
        laptop.clock->advance(10);
        QCOMPARE(fans(laptop.source).back(), FanList::value_type("hwmon13 fan1", 900));
        QVERIFY(writeFile(hwmon + "fan1_input", "-1\n"));
        QCOMPARE(laptop.source.fans().size(), std::size_t(1));
    }

    // Class folders stay open between rescans: a sensor that appears later,
    // and a folder that did not exist at the first scan, are still found.
    void sensorRescansSeeWhatCameSince() {
        QTemporaryDir dir;
        const QString root = dir.path();
        SourceOn<LinuxThermalSource> thermal(root.toStdString());
        QVERIFY(!thermal.source.sensors());
        const QString zones = root + "/sys/class/thermal/";
        QVERIFY(writeFile(zones + "thermal_zone0/type", "x86_pkg_temp\n"));
        QVERIFY(writeFile(zones + "thermal_zone0/temp", "41000\n"));
        thermal.clock->advance(10);
        QCOMPARE(thermal.source.sensors()->size(), std::size_t(1));
        QVERIFY(writeFile(zones + "thermal_zone1/type", "acpitz\n"));
        QVERIFY(writeFile(zones + "thermal_zone1/temp", "30000\n"));
        thermal.clock->advance(10);
        const auto sensors = thermal.source.sensors();
        QCOMPARE(sensors->size(), std::size_t(2));
        QCOMPARE(sensors->back().productName, std::string("acpitz"));
        QVERIFY(QDir(zones + "thermal_zone0").removeRecursively());
        thermal.clock->advance(10);
        QCOMPARE(thermal.source.sensors()->size(), std::size_t(1));
        // The whole class folder removed and made again: its new zones are
        // found, not the old folder's emptiness.
        QVERIFY(QDir(zones).removeRecursively());
        thermal.clock->advance(10);
        QVERIFY(!thermal.source.sensors() || thermal.source.sensors()->empty());
        QVERIFY(writeFile(zones + "thermal_zone7/type", "x86_pkg_temp\n"));
        QVERIFY(writeFile(zones + "thermal_zone7/temp", "52000\n"));
        thermal.clock->advance(10);
        QCOMPARE(thermal.source.sensors()->size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestLinuxSources)
#include "tst_linux_sources.moc"
