#include "fixture_tree.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_sources.h"

#include <QTest>

#include <ctime>

using namespace pw::platform;

class TestLinuxSources : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
};

QTEST_GUILESS_MAIN(TestLinuxSources)
#include "tst_linux_sources.moc"
