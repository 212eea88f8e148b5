#include "fixture_tree.h"
#include "platform/linux/linux_fan_source.h"

#include <QTest>

using namespace pw::platform;

namespace {

using FansOn = SourceOn<LinuxFanSource>;

using FanList = std::vector<std::pair<std::string, std::int64_t>>;

FanList fanList(const std::vector<FanReading>& fans) {
    FanList list;
    for (const auto& fan : fans) {
        list.emplace_back(fan.label, fan.rpm);
    }
    return list;
}

} // namespace

class TestFanSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fansOfEachMachine() {
        QCOMPARE(fanList(FansOn(fixturePath("intel-hybrid-laptop")).source.fans()),
                 (FanList{{"thinkpad fan1", 2240}}));
        // A stopped fan reads 0 and is shown; a garbled input is left out.
        QCOMPARE(fanList(FansOn(fixturePath("amd-desktop")).source.fans()),
                 (FanList{{"amdgpu fan1", 0},
                          {"CPU Fan", 812},
                          {"nct6798 fan2", 0},
                          {"nct6798 fan3", 1104}}));
        QVERIFY(FansOn(fixturePath("bare-vm")).source.fans().empty());
        QTemporaryDir empty;
        QVERIFY(FansOn(empty.path().toStdString()).source.fans().empty());
    }

    void speedsAreFreshTheListRescanned() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        FansOn fans(root.toStdString());
        QCOMPARE(fans.source.fans().size(), std::size_t(1));
        const QString hwmon = root + "/sys/class/hwmon/hwmon13/";
        QVERIFY(writeFile(hwmon + "fan1_input", "900\n"));
        QCOMPARE(fans.source.fans().size(), std::size_t(1));
        fans.clock->advance(10);
        QCOMPARE(fanList(fans.source.fans()).back(), FanList::value_type("hwmon13 fan1", 900));
        QVERIFY(writeFile(hwmon + "fan1_input", "-1\n"));
        QCOMPARE(fans.source.fans().size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestFanSource)
#include "tst_fan_source.moc"
