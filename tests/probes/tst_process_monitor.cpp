#include "clocked_counters.h"
#include "generated_process_tree.h"
#include "platform/fake/fake_sources.h"
#include "platform/fixture_tree.h"
#include "services/process_monitor.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using pw::ApplicationCatalog;
using pw::Polling;
using pw::ProcessInfoData;
using pw::ProcessMonitor;
using pw::platform::FakeSources;
using pw::platform::ProcessStat;

namespace {

std::shared_ptr<ApplicationCatalog> emptyCatalog() {
    return std::make_shared<ApplicationCatalog>([] { return pw::platform::DesktopEntryIndex(); });
}

QList<int> ids(const QList<ProcessInfoData>& list) {
    QList<int> out;
    for (const ProcessInfoData& row : list) {
        out.append(row.id);
    }
    return out;
}

const ProcessInfoData* row(const QList<ProcessInfoData>& list, int id) {
    for (const ProcessInfoData& r : list) {
        if (r.id == id) {
            return &r;
        }
    }
    return nullptr;
}

// Replaces the proc/ folder under `root` by the one of fixture `name`.
bool swapInFixture(const QString& root, const QString& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::path(root.toStdString()) / "proc";
    fs::remove_all(target, error);
    fs::copy(fs::path(PW_FIXTURES) / name.toStdString() / "proc", target,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    return !error;
}

} // namespace

class TestProcessMonitor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ranksByUsageOverTheLastInterval() {
        FakeSources fake;
        fake.processes->ticks = 100;
        fake.clock->monotonic = 10.0;
        fake.processes->processes =
            std::vector<ProcessStat>{{10, "a", 1000}, {11, "b", 1000}, {12, "c", 50},  {13, "d", 0},
                                     {14, "e", 0},    {15, "f", 0},    {16, "g", 9000}};
        for (int pid = 10; pid <= 17; ++pid) {
            fake.processes->argumentLists[pid] = {};
        }
        ProcessMonitor monitor(fake.sources(), Polling::Manual, emptyCatalog());
        QVERIFY(monitor.topProcesses().isEmpty()); // the baseline publishes nothing

        // Two seconds later: 16 has been busy all along, but 13 is the busiest now.
        fake.clock->monotonic = 12.0;
        fake.processes->processes = std::vector<ProcessStat>{
            {16, "g", 9010}, {15, "f", 20},   {14, "e", 20},   {13, "d", 500},
            {12, "c", 70},   {11, "b", 1000}, {10, "a", 1000}, {17, "new", 30}};
        QSignalSpy published(&monitor, &ProcessMonitor::topProcessesChanged);
        monitor.updateProcesses();
        QCOMPARE(published.count(), 1);
        const QList<ProcessInfoData> list = monitor.topProcesses();
        // 13: 500 ticks in 2 s at 100/s is 250 % (several cores). 17 is new: all
        // of its ticks fall in the interval. Ties (14, 15 and 12) by ascending id.
        QCOMPARE(ids(list), (QList<int>{13, 17, 12, 14, 15}));
        QCOMPARE(list[0].cpuUsage, 250.0);
        QCOMPARE(list[0].energyImpact, 200.0);
        QCOMPARE(list[1].cpuUsage, 15.0);
        QCOMPARE(list[2].cpuUsage, 10.0);
        QCOMPARE(list[4].energyImpact, 8.0);
        QCOMPARE(list[0].name, QStringLiteral("d"));
        QCOMPARE(list[0].fullPath, QStringLiteral("d"));

        // Nothing ran since: every figure is 0 and the list is the lowest ids,
        // still published, and the whole list is replaced.
        fake.clock->monotonic = 14.0;
        monitor.updateProcesses();
        QCOMPARE(published.count(), 2);
        QCOMPARE(ids(monitor.topProcesses()), (QList<int>{10, 11, 12, 13, 14}));
        for (const ProcessInfoData& r : monitor.topProcesses()) {
            QCOMPARE(r.cpuUsage, 0.0);
        }

        // The same list again is still a publication.
        fake.clock->monotonic = 16.0;
        monitor.updateProcesses();
        QCOMPARE(published.count(), 3);

        // An unreadable table keeps the last list and publishes nothing.
        fake.processes->processes.reset();
        fake.clock->monotonic = 18.0;
        monitor.updateProcesses();
        QCOMPARE(published.count(), 3);
        QCOMPARE(monitor.topProcesses().size(), 5);
    }

    void oddCountsAndVanishedProcesses() {
        FakeSources fake;
        fake.processes->processes = std::vector<ProcessStat>{{5, "x", 0}, {6, "y", 100}};
        ProcessMonitor monitor(fake.sources(), Polling::Manual, emptyCatalog());

        // A reused id whose counter went backwards counts all of its ticks; a
        // process gone before its files were read is skipped, and fewer than
        // five rows is a shorter list.
        fake.clock->monotonic = 2.0;
        fake.processes->processes = std::vector<ProcessStat>{{5, "x", 40}, {6, "reused", 10}};
        fake.processes->argumentLists[6] = {};
        monitor.updateProcesses();
        QCOMPARE(ids(monitor.topProcesses()), (QList<int>{6}));
        QCOMPARE(monitor.topProcesses()[0].cpuUsage, 5.0);

        // No elapsed time gives 0, not a division by zero.
        fake.processes->argumentLists[5] = {};
        monitor.updateProcesses();
        QCOMPARE(monitor.topProcesses().size(), 2);
        QCOMPARE(monitor.topProcesses()[0].cpuUsage, 0.0);

        // An empty table is an empty list, published.
        QSignalSpy published(&monitor, &ProcessMonitor::topProcessesChanged);
        fake.processes->processes = std::vector<ProcessStat>{};
        fake.clock->monotonic = 4.0;
        monitor.updateProcesses();
        QCOMPARE(published.count(), 1);
        QVERIFY(monitor.topProcesses().isEmpty());
    }

    void residentMemoryAndStorageRates() {
        FakeSources fake;
        std::vector<ProcessStat> table;
        for (int pid = 1; pid <= 6; ++pid) {
            table.push_back({pid, "p", 0});
            fake.processes->argumentLists[pid] = {};
        }
        fake.processes->processes = table;
        ProcessMonitor monitor(fake.sources(), Polling::Manual, emptyCatalog());
        // Each process has read 1000 × id bytes per second of its life and written
        // half that; 2 is another user's and gives nothing, 3 only its reads.
        const auto advance = [&](double now, std::map<int, std::uint64_t> busier) {
            fake.clock->monotonic = now;
            for (ProcessStat& row : table) {
                row.cpuTicks += busier.count(row.pid) ? busier[row.pid] : 10;
                const auto moved = static_cast<std::uint64_t>(1000 * row.pid * now);
                pw::platform::ProcessResources r;
                if (row.pid != 2) {
                    r.residentBytes = 4096u * static_cast<std::uint64_t>(row.pid);
                    r.storageReadBytes = moved;
                    if (row.pid != 3) {
                        r.storageWrittenBytes = moved / 2;
                    }
                }
                fake.processes->resourceTable[row.pid] = r;
            }
            fake.processes->processes = table;
            monitor.updateProcesses();
        };

        advance(2.0, {{6, 0}}); // 6 is idle: listed are 1 to 5
        QCOMPARE(ids(monitor.topProcesses()), (QList<int>{1, 2, 3, 4, 5}));
        const ProcessInfoData* first = row(monitor.topProcesses(), 1);
        QCOMPARE(first->residentBytes, 4096);
        QCOMPARE(first->storageReadRate, -1.0); // first appearance
        QCOMPARE(row(monitor.topProcesses(), 2)->residentBytes, -1);

        advance(4.0, {{6, 100}});
        QCOMPARE(ids(monitor.topProcesses()), (QList<int>{6, 1, 2, 3, 4}));
        QCOMPARE(row(monitor.topProcesses(), 6)->storageReadRate, -1.0);
        QCOMPARE(row(monitor.topProcesses(), 1)->storageReadRate, 1000.0);
        QCOMPARE(row(monitor.topProcesses(), 1)->storageWriteRate, 500.0);
        QCOMPARE(row(monitor.topProcesses(), 2)->storageReadRate, -1.0);
        QCOMPARE(row(monitor.topProcesses(), 3)->storageReadRate, 3000.0);
        QCOMPARE(row(monitor.topProcesses(), 3)->storageWriteRate, -1.0);

        // 5 left the list in between, so it starts over.
        advance(6.0, {{5, 100}, {6, 100}});
        const QList<ProcessInfoData> list = monitor.topProcesses();
        QCOMPARE(ids(list), (QList<int>{5, 6, 1, 2, 3}));
        QCOMPARE(row(list, 5)->storageReadRate, -1.0);
        QCOMPARE(row(list, 6)->storageReadRate, 6000.0);

        // A count that fell (a reused id) reads 0.
        fake.processes->resourceTable[1].storageReadBytes = 0;
        fake.clock->monotonic = 8.0;
        monitor.updateProcesses();
        QCOMPARE(row(monitor.topProcesses(), 1)->storageReadRate, 0.0);
    }

    void namesAndPaths() {
        using Args = std::optional<std::vector<std::string>>;
        const auto id = [](const char* comm, std::optional<std::string> exe, Args args) {
            const auto i = pw::identifyProcess(comm, exe, args);
            return i.name + QLatin1Char(' ') + i.fullPath + (i.isPath ? " path" : "");
        };
        // The executable wins, without a replaced binary's mark.
        QCOMPARE(id("Web Content", "/usr/lib/firefox/firefox-bin", Args{{"/usr/bin/firefox"}}),
                 QStringLiteral("firefox-bin /usr/lib/firefox/firefox-bin path"));
        QCOMPARE(id("app", "/opt/my app/bin/app (deleted)", std::nullopt),
                 QStringLiteral("app /opt/my app/bin/app path"));
        // An unreadable executable falls back to an absolute first argument ...
        QCOMPARE(id("python3", std::nullopt, Args{{"/usr/bin/python3", "x.py"}}),
                 QStringLiteral("python3 /usr/bin/python3 path"));
        // ... but not to a relative one, nor to a rewritten title.
        QCOMPARE(id("bash", std::nullopt, Args{{"-bash"}}), QStringLiteral("bash bash"));
        // A kernel thread keeps its whole name, slash included.
        QCOMPARE(id("kworker/0:1-events", std::nullopt, Args{std::vector<std::string>{}}),
                 QStringLiteral("kworker/0:1-events kworker/0:1-events"));
    }

    void fixtureTreeOverTwoSamples() {
        QTemporaryDir dir;
        const QString root = copyFixture(QStringLiteral("proc-top-first"), dir);
        QVERIFY(!root.isEmpty());
        pw::test::ClockedSources fake(root.toStdString());
        ProcessMonitor monitor(fake.sources(), Polling::Manual, emptyCatalog());

        QVERIFY(swapInFixture(root, QStringLiteral("proc-top-second")));
        fake.clock->monotonic = 2.0;
        monitor.updateProcesses();
        const QList<ProcessInfoData> list = monitor.topProcesses();
        // 400 exited between the samples, 700's stat went bad, 600 is new but
        // less busy than the five.
        QCOMPARE(ids(list), (QList<int>{300, 200, 500, 2, 1}));

        // A multi-threaded process; blanks and parentheses in the name; no
        // readable exe; a kernel thread keeps its whole name.
        const auto shown = [&](int id) {
            const ProcessInfoData* r = row(list, id);
            return QStringLiteral("%1 %2 %3").arg(r->cpuUsage).arg(r->name, r->fullPath);
        };
        QCOMPARE(shown(300), QStringLiteral("250 render /opt/render/bin/render"));
        QCOMPARE(shown(200), QStringLiteral("30 firefox-bin /usr/lib/firefox/firefox-bin"));
        QCOMPARE(shown(500), QStringLiteral("20 python3 /usr/bin/python3"));
        QCOMPARE(shown(2), QStringLiteral("10 kworker/0:1 kworker/0:1"));
        QCOMPARE(row(list, 2)->energyImpact, 8.0);
        QCOMPARE(row(list, 1)->cpuUsage, 6.0);
        QVERIFY(row(list, 1)->icon.isNull());
    }

    void thousandProcesses() {
        const auto dir = pw::test::scratchDir();
        QVERIFY(dir->isValid());
        const QString root = dir->path();
        // Every process has used its id in ticks; in the interval each adds
        // (id mod 97) more, so the busiest are 96, 193, 290, ... ties by id.
        QVERIFY(pw::test::writeProcessTree(root, 1000, [](int pid) { return quint64(pid); }));
        pw::test::ClockedSources fake(root.toStdString());
        ProcessMonitor monitor(fake.sources(), Polling::Manual, emptyCatalog());
        QVERIFY(pw::test::writeProcessTree(root, 1000,
                                           [](int pid) { return quint64(pid + pid % 97); }));
        fake.clock->monotonic = 1.0;
        monitor.updateProcesses();
        const QList<ProcessInfoData> list = monitor.topProcesses();
        QCOMPARE(ids(list), (QList<int>{96, 193, 290, 387, 484}));
        QCOMPARE(list[0].cpuUsage, 96.0);
        QCOMPARE(list[0].name, QStringLiteral("worker-96"));
        QCOMPARE(list[0].fullPath, QStringLiteral("/usr/bin/worker-96"));
    }

    void installedApplicationsGiveIconAndDesktopFile() {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString apps = dir.filePath(QStringLiteral("share/applications"));
        const QString program = bin + QStringLiteral("/editor");
        QVERIFY(writeExecutable(program));
        const QString iconFile = dir.filePath(QStringLiteral("editor.png"));
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(iconFile));
        const QString desktopFile = apps + QStringLiteral("/editor.desktop");
        QVERIFY(writeFile(desktopFile, "[Desktop Entry]\nType=Application\nName=Ed\n"
                                       "Exec=editor %F\nIcon=" +
                                           iconFile.toUtf8() + "\n"));

        auto catalog = std::make_shared<ApplicationCatalog>(
            [=] { return pw::platform::DesktopEntryIndex::scan({apps}, {bin}); });
        FakeSources fake;
        fake.processes->processes = std::vector<ProcessStat>{{41, "editor", 0}, {42, "other", 0}};
        fake.processes->executables = {{41, program.toStdString()}, {42, "/usr/bin/other-tool"}};
        ProcessMonitor monitor(fake.sources(), Polling::Manual, catalog);
        catalog->waitUntilReady();
        fake.processes->processes = std::vector<ProcessStat>{{41, "editor", 10}, {42, "other", 5}};
        fake.clock->monotonic = 1.0;
        monitor.updateProcesses();
        const QList<ProcessInfoData> list = monitor.topProcesses();
        QCOMPARE(ids(list), (QList<int>{41, 42}));
        QCOMPARE(list[0].desktopEntry, desktopFile);
        QVERIFY(!list[0].icon.isNull());
        QVERIFY(list[1].desktopEntry.isEmpty());
        QVERIFY(list[1].icon.isNull());
    }
};

QTEST_MAIN(TestProcessMonitor)
#include "tst_process_monitor.moc"
