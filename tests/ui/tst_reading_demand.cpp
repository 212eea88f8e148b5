// Costly readings are taken only while something consumes them: the engine's
// per-area readings and the process table, held by the views on screen.
#include "platform/fake/fake_sources.h"
#include "services/application_catalog.h"
#include "services/engine_models.h"
#include "services/process_monitor.h"
#include "ui/cycle_refresh.h"

#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

using namespace pw;
using platform::FakeSources;

namespace {

struct Rig {
    FakeSources fake;
    EngineModels engine{fake.sources(), nullptr, [] { return 90.0; }};
    Demand& demand = engine.stats.demand();

    Rig() {
        fake.cpu->cpu = std::vector<platform::CpuTicks>{{0, 0, 0, 0, 0}};
        fake.cpu->mhz = 2400.0;
        fake.gpu->devices = {platform::GpuDevice{}};
        fake.fans->readings = {platform::FanReading{"cpu_fan", 1200}};
        fake.connections->connections = std::vector<platform::TcpConnection>{};
        fake.network->route = platform::DefaultRoute{"eth0", false, "192.0.2.7"};
    }
    // Enough cycles for the slow readings to come round twice.
    void cycles(int n = 2 * SamplingEngine::kSlowCycleInterval) {
        for (int i = 0; i < n; ++i) {
            engine.stats.updateStats();
            fake.clock->advance(1.0);
            QCoreApplication::processEvents(); // connection reads report back
        }
    }
    // Reads of the costly areas: clock, connections, GPU, fans, disk activity, route.
    std::vector<int> costlyReads() const {
        return {fake.cpu->reads,  fake.connections->reads, fake.gpu->reads,
                fake.fans->reads, fake.storage->reads,     fake.network->routeReads};
    }
};

bool waitForConnectionRead(const FakeSources& fake, int atLeast) {
    return QTest::qWaitFor([&] { return fake.connections->reads >= atLeast; }, 5000);
}

} // namespace

class TestReadingDemand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everythingIsReadUntilTheDesktopAsksForLess() {
        // Headless and JSON output print every figure: nobody registers.
        Rig rig;
        rig.cycles();
        QVERIFY(waitForConnectionRead(rig.fake, 1));
        for (int reads : rig.costlyReads())
            QVERIFY(reads > 0);
        QVERIFY(rig.engine.stats.snapshot().cpu.clockGHz);
    }

    void readingsWithoutConsumerAreNotTaken() {
        Rig rig;
        rig.demand.readOnlyWhatIsWatched();
        const int ticksBefore = rig.fake.calls();
        rig.cycles();
        QCOMPARE(rig.costlyReads(), std::vector<int>(6, 0));
        // What the tray shows is still read every cycle.
        QVERIFY(rig.fake.calls() > ticksBefore);
    }

    void aNewConsumerGetsAFreshReadingAtOnce() {
        Rig rig;
        rig.demand.readOnlyWhatIsWatched();
        rig.cycles(1);
        QSignalSpy finished(&rig.engine.stats, &SystemStatsProvider::cycleFinished);
        {
            DemandHold hold(rig.demand,
                            {Reading::Gpu, Reading::CpuDetails, Reading::Fans, Reading::Route});
            // No cycle ran: the readings came with the hold, and views were told.
            QCOMPARE(rig.fake.gpu->reads, 1);
            QCOMPARE(rig.fake.cpu->reads, 1);
            QCOMPARE(rig.fake.fans->reads, 1);
            QCOMPARE(rig.fake.network->routeReads, 1);
            QCOMPARE(finished.count(), 4);
            QCOMPARE(rig.engine.network.localIPv4Address().value_or(QString()),
                     QStringLiteral("192.0.2.7"));
            QCOMPARE(*rig.engine.stats.snapshot().cpu.clockGHz, 2.4);
            QCOMPARE(rig.engine.fans.fans().size(), 1);
            // A second consumer of a held reading costs nothing extra.
            DemandHold again(rig.demand, {Reading::Gpu});
            QCOMPARE(rig.fake.gpu->reads, 1);
            rig.cycles(3);
            QCOMPARE(rig.fake.gpu->reads, 4);
        }
        // Released: no further reads, and the last figures stay.
        rig.cycles(3);
        QCOMPARE(rig.fake.gpu->reads, 4);
        QCOMPARE(rig.fake.fans->reads, 4);
        QCOMPARE(*rig.engine.stats.snapshot().cpu.clockGHz, 2.4);
    }

    void connectionsAreReadOnlyWhileTheirViewIsShown() {
        Rig rig;
        rig.demand.readOnlyWhatIsWatched();
        QWidget page;
        auto* refresh =
            new ui::CycleRefresh(rig.engine.stats, [] {}, &page, {Reading::Connections});
        rig.cycles();
        QCOMPARE(rig.fake.connections->reads, 0);
        const int hiddenRefreshes = refresh->count();
        QCOMPARE(hiddenRefreshes, 1); // the one at construction; hidden views wait

        page.show();
        QVERIFY(waitForConnectionRead(rig.fake, 1)); // asked for at once, not at a slow cycle
        QVERIFY(refresh->count() > hiddenRefreshes);
        rig.cycles();
        QVERIFY(waitForConnectionRead(rig.fake, 2));

        page.hide();
        QCoreApplication::processEvents();
        const int readsWhenHidden = rig.fake.connections->reads;
        const int refreshesWhenHidden = refresh->count();
        rig.cycles();
        QCOMPARE(rig.fake.connections->reads, readsWhenHidden);
        QCOMPARE(refresh->count(), refreshesWhenHidden);
        QCOMPARE(rig.demand.count(Reading::Connections), 0);
    }

    void processTableIsReadOnlyWhileAListIsWanted() {
        Rig rig;
        rig.demand.readOnlyWhatIsWatched();
        rig.fake.processes->processes =
            std::vector<platform::ProcessStat>{{42, "worker", 100}, {43, "idle", 0}};
        rig.fake.processes->executables = {{42, "/usr/bin/worker"}, {43, "/usr/bin/idle"}};
        ProcessMonitor monitor(rig.fake.sources(), Polling::Manual, nullptr);
        monitor.setDemand(&rig.demand);
        const int baseline = rig.fake.processes->reads;
        monitor.tick();
        monitor.tick();
        QCOMPARE(rig.fake.processes->reads, baseline);
        QVERIFY(monitor.topProcesses().isEmpty());

        QSignalSpy published(&monitor, &ProcessMonitor::topProcessesChanged);
        rig.fake.clock->advance(2.0);
        rig.fake.processes->processes->front().cpuTicks = 300;
        DemandHold hold(rig.demand, {Reading::Processes});
        // The list is there as the view opens, not two seconds later.
        QCOMPARE(published.count(), 1);
        QVERIFY(!monitor.topProcesses().isEmpty());
        QCOMPARE(monitor.topProcesses().front().id, 42);
        monitor.tick();
        QCOMPARE(rig.fake.processes->reads, baseline + 2);

        hold.release();
        monitor.tick();
        QCOMPARE(rig.fake.processes->reads, baseline + 2);
    }

    // A closed popup should not even wake the program up every two seconds.
    void idleProcessMonitorStopsWakingUntilWantedAgain() {
        Rig rig;
        rig.demand.readOnlyWhatIsWatched();
        ProcessMonitor monitor(rig.fake.sources(), Polling::Start, nullptr);
        monitor.setDemand(&rig.demand);
        QVERIFY(monitor.ticking());
        monitor.tick();
        QVERIFY(!monitor.ticking());
        DemandHold hold(rig.demand, {Reading::Processes});
        QVERIFY(monitor.ticking());
        monitor.tick();
        QVERIFY(monitor.ticking());
    }
};

QTEST_MAIN(TestReadingDemand)
#include "tst_reading_demand.moc"
