#include "platform/fixture_tree.h"
#include "ui/ui_test_support.h"

#include "services/engine/sampling_engine.h"
#include "services/system_colors.h"
#include "ui/bottom_app_tray.h"
#include "ui/cpu_tab_view.h"
#include "ui/dashboard_requests.h"
#include "ui/disk_tab_view.h"
#include "ui/gauge_ring.h"
#include "ui/gpu_strip.h"
#include "ui/legend_item.h"
#include "ui/memory_tab_view.h"
#include "ui/menu_bar_readout.h"
#include "ui/menu_bar_view.h"
#include "ui/network_tab_view.h"
#include "ui/popover_view.h"
#include "ui/process_list_section.h"
#include "ui/process_row.h"
#include "ui/process_traffic_row.h"
#include "ui/ring_chart.h"
#include "ui/sparkline_view.h"
#include "ui/tab_bar_button.h"
#include "ui/traffic_list_section.h"
#include "ui/view_logic.h"
#include "ui/visual_effect_view.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace pw::ui;
using pw::test::FakeProcess;
using pw::test::ModelFixture;
namespace platform = pw::platform;

namespace {

const std::vector<FakeProcess> kThree = {
    {11, "firefox", "/usr/lib/firefox/firefox"},
    {12, "code", "/usr/share/code/code"},
    {13, "kworker", "/usr/bin/kworker-helper"},
};

std::vector<FakeProcess> manyProcesses(int count) {
    std::vector<FakeProcess> list;
    for (int i = 0; i < count; ++i)
        list.push_back({100 + i, "proc" + std::to_string(i), "/usr/bin/proc" + std::to_string(i)});
    return list;
}

template <typename View> bool shows(PopoverView& popover) {
    return qobject_cast<View*>(popover.currentTabView()) != nullptr;
}

} // namespace

class TestPopover : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tabButtonsSelectTheirViews() {
        ModelFixture f;
        PopoverView popover(f.models(), *f.monitor, *f.ping, f.themeManager, *f.preferences);
        QCOMPARE(popover.minimumSize(), popover.maximumSize());

        // A fresh popup opens on the CPU tab with the waveform button lit.
        QCOMPARE(popover.selectedTab(), 0);
        QVERIFY(shows<CPUTabView>(popover));
        const auto buttons = popover.tray()->tabButtons();
        QCOMPARE(buttons.size(), 5);
        QVERIFY(buttons[0]->isSelected());
        QCOMPARE(buttons[0]->color(), pw::systemColor::blue());

        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QVERIFY(shows<NetworkTabView>(popover));
        QTest::mouseClick(buttons[2], Qt::LeftButton);
        QVERIFY(shows<DiskTabView>(popover));
        QTest::mouseClick(buttons[3], Qt::LeftButton);
        QVERIFY(shows<MemoryTabView>(popover));
        // The speedometer shows the same memory view, with itself lit instead.
        QTest::mouseClick(buttons[4], Qt::LeftButton);
        QVERIFY(shows<MemoryTabView>(popover));
        QCOMPARE(popover.selectedTab(), 4);
        QVERIFY(buttons[4]->isSelected());
        QVERIFY(!buttons[3]->isSelected());
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QVERIFY(shows<CPUTabView>(popover));

        popover.setSelectedTab(7);
        QCOMPARE(popover.currentTabView(), nullptr);
        for (TabBarButton* button : buttons)
            QVERIFY(!button->isSelected());
    }

    void headerButtons() {
        ModelFixture f;
        PopoverView popover(f.models(), *f.monitor, *f.ping, f.themeManager, *f.preferences);

        // The list button flips the persisted preference and its own symbol.
        QCOMPARE(popover.listButton()->property("symbol").toString(),
                 QStringLiteral("list.bullet.rectangle.portrait"));
        QTest::mouseClick(popover.listButton(), Qt::LeftButton);
        QVERIFY(f.preferences->showFullProcessPath());
        QCOMPARE(popover.listButton()->property("symbol").toString(),
                 QStringLiteral("list.bullet.rectangle.portrait.fill"));
        QTest::mouseClick(popover.listButton(), Qt::LeftButton);
        QVERIFY(!f.preferences->showFullProcessPath());

        QSignalSpy requests(&DashboardRequests::instance(),
                            &DashboardRequests::openDashboardRequested);
        QTest::mouseClick(popover.gearButton(), Qt::LeftButton);
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).value<std::optional<QString>>(), QStringLiteral("Settings"));
        QTest::mouseClick(popover.tray()->dashboardButton(), Qt::LeftButton);
        QCOMPARE(requests.count(), 2);
        QVERIFY(!requests.at(1).at(0).value<std::optional<QString>>().has_value());

        // Four presses of the paintbrush come back round; backdrop and accent follow each.
        const QList<pw::AppTheme> order = {pw::AppTheme::cyberpunk, pw::AppTheme::nordic,
                                           pw::AppTheme::ink, pw::AppTheme::standard};
        QCOMPARE(popover.backdrop()->material(), pw::BackdropMaterial::popover);
        for (pw::AppTheme expected : order) {
            QTest::mouseClick(popover.themeButton(), Qt::LeftButton);
            QCOMPARE(f.themeManager.currentTheme(), expected);
            QCOMPARE(popover.backdrop()->material(), pw::theme::backgroundMaterial(expected));
            QCOMPARE(popover.palette().color(QPalette::Highlight),
                     pw::theme::accentColor(expected));
        }
        QVERIFY(popover.showsLogoImage()); // the compiled-in logo
    }

    void cpuTabFollowsTheCpus() {
        ModelFixture f;
        CPUTabView tab(f.models(), *f.monitor, *f.preferences);
        QVERIFY(tab.processes()->visibleRows().isEmpty());
        f.cycle(0.0);
        QVERIFY(!tab.gpuStrip()->gaugesShown()); // no GPU (its texts: tst_live_figures)

        f.cycle(50.0);
        QCOMPARE(tab.sparkline()->data().last(), 50.0);
        QCOMPARE(tab.sparkline()->data().size(), 60);
        QCOMPARE(tab.sparkline()->scaleMaximum(), 100.0);
        QCOMPARE(tab.coreRings().size(), 1);
        QCOMPARE(tab.coreRings()[0]->fraction(), 0.5);

        // Twelve CPUs: rows of ten and two, rebuilt when the count changes.
        f.fake.cpu->cpu = std::vector<platform::CpuTicks>(12);
        for (int i = 0; i < 12; ++i)
            (*f.fake.cpu->cpu)[i].cpu = i;
        f.stats().updateStats();
        f.stats().updateStats();
        QCOMPARE(tab.coreRings().size(), 12);
        QCOMPARE(tab.coreRowSizes(), QList<int>({10, 2}));

        platform::GpuDevice card;
        card.busyPercent = 11.0;
        card.temperatureCelsius = 102.0;
        f.fake.gpu->devices = {card};
        f.stats().updateStats();
        const auto gauges = tab.gpuStrip()->gauges();
        QVERIFY(tab.gpuStrip()->gaugesShown());
        // The display's refresh rate, said to be one; never a GPU frame rate.
        QVERIFY(tab.gpuStrip()->headerText().startsWith(QStringLiteral("Display ")));
        QVERIFY(!tab.gpuStrip()->headerText().contains(QStringLiteral("FPS")));
        QCOMPARE(gauges[0]->fraction(), 0.11);
        QCOMPARE(gauges[2]->fraction(), 1.0);

        f.publishProcesses(kThree);
        auto rows = tab.processes()->visibleRows();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0]->name(), QStringLiteral("firefox"));
        f.publishProcesses(manyProcesses(5));
        QCOMPARE(tab.processes()->visibleRows().size(), 4);
        f.publishProcesses({});
        QVERIFY(tab.processes()->visibleRows().isEmpty());
    }

    void memoryTabFigures() {
        ModelFixture f;
        f.setMemory(0.0, 0.0, 0.0, 0.0, 0.0);
        MemoryTabView tab(f.models(), *f.monitor, *f.preferences);
        QCOMPARE(tab.memoryRing()->title(), QStringLiteral("0%"));
        QVERIFY(tab.processes()->visibleRows().isEmpty());

        // No swap at all says so rather than a share of an invented total.
        f.setMemory(4.0, 2.0, 2.0, 16.0, 0.0, 0.0);
        f.cycle(10.0);
        QCOMPARE(tab.swapText(), QStringLiteral("No swap"));
        QCOMPARE(tab.swapBarFraction(), 0.0);
        f.setMemory(4.0, 2.0, 2.0, 16.0, 2.9, 11.6);
        f.cycle(10.0);
        QCOMPARE(tab.swapText(), QStringLiteral("2.9 GB of 11.6 GB"));
        QCOMPARE(tab.swapBarFraction(), 0.25);
        QCOMPARE(tab.memoryRing()->percentage(), 50.0);
        QCOMPARE(tab.pressureRing()->percentage(), 50.0);
        QCOMPARE(tab.legend()[3]->value(), QStringLiteral("8.0 GB")); // 16 total, 8 used

        // Another user's process keeps its memory to itself.
        f.fake.processes->resourceTable[11].residentBytes = 3ULL << 29;
        f.publishProcesses(kThree);
        const auto rows = tab.processes()->visibleRows();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0]->value(), QStringLiteral("1.5 GB"));
        QCOMPARE(rows[1]->value(), QString::fromUtf8("\u2014"));
    }

    void networkAndDiskTabs() {
        ModelFixture f;
        NetworkTabView network(f.models(), *f.monitor, *f.preferences);
        DiskTabView disk(f.models(), *f.monitor, *f.preferences);
        const QString dash = QString::fromUtf8("\u2014");
        QCOMPARE(network.uploadText(), QStringLiteral("0.0 KB/s"));
        QCOMPARE(network.interfaceText(), dash);
        QCOMPARE(network.publicAddressText(), dash);
        QCOMPARE(network.localAddressText(), dash);
        QCOMPARE(disk.volumeText(), dash);
        QCOMPARE(disk.ring()->text(), dash);
        QCOMPARE(disk.readRateText(), dash);
        QCOMPARE(disk.readTotalText(), QStringLiteral("Read ") + dash);

        // The chart draws the download history on a scale of its own.
        f.fake.network->counters = std::vector<platform::InterfaceCounters>{{"eth0", 0, 0, true}};
        f.cycle(80.0);
        (*f.fake.network->counters)[0].receivedBytes = 350 * 1024;
        f.cycle(80.0);
        QCOMPARE(network.sparkline()->data(), f.engine->network.networkHistory());
        QCOMPARE(network.sparkline()->data().last(), 350.0);
        QCOMPARE(network.sparkline()->scaleMaximum(), 350.0);

        // Volume and route are read every fifth cycle.
        f.fake.storage->volume =
            platform::VolumeSpace{"Data", "/", "sda1", 64ULL << 30, 16ULL << 30, false};
        f.fake.network->route = platform::DefaultRoute{"enp3s0", false, "192.168.1.20"};
        f.fake.storage->blockDevice = platform::BlockDeviceCounters{"sda", 0, 0};
        for (int i = 0; i < pw::SamplingEngine::kSlowCycleInterval; ++i) {
            f.fake.storage->blockDevice->sectorsRead += 491 * 2; // 491 KB a second
            f.cycle(10.0);
        }
        QCOMPARE(disk.volumeText(), QStringLiteral("Data"));
        QCOMPARE(disk.ring()->text(), QStringLiteral("75"));
        QCOMPARE(disk.ring()->fraction(), 0.75);
        QCOMPARE(disk.availableText(), QStringLiteral("16.0 GB available"));
        QCOMPARE(disk.readRateText(), QStringLiteral("491 KB/s"));
        QCOMPARE(disk.writeTotalText(), QStringLiteral("Write 0 KB/s"));
        QCOMPARE(network.interfaceText(), QStringLiteral("enp3s0"));
        QCOMPARE(network.localAddressText(), QStringLiteral("192.168.1.20"));

        f.publishProcesses(kThree);
        const auto netRows = network.processes()->visibleRows();
        const auto diskRows = disk.processes()->visibleRows();
        QCOMPARE(netRows.size(), 3);
        QCOMPARE(diskRows.size(), 3);
        QCOMPARE(diskRows[1]->text(), QStringLiteral("code"));
        QCOMPARE(diskRows[1]->textToolTip(), QStringLiteral("/usr/share/code/code"));
        QCOMPARE(netRows[2]->textToolTip(), QStringLiteral("/usr/bin/kworker-helper"));
        QCOMPARE(diskRows[0]->firstFigure(), dash); // one sample: no rate yet
        QCOMPARE(netRows[0]->firstFigure(), dash);
        QCOMPARE(netRows[0]->secondFigure(), dash);

        f.publishProcesses({});
        QVERIFY(network.processes()->visibleRows().isEmpty());
        QVERIFY(disk.processes()->visibleRows().isEmpty());
    }

    // The largest figures a disk row can show fit their column, none clipped.
    void diskFiguresFitTheirColumn() {
        pw::ProcessInfoData process;
        ProcessTrafficRow row(DiskTabView::figureColumnWidth());
        row.resize(320, row.sizeHint().height());
        // The widest of each unit, and the next unit up.
        const std::tuple<double, double, const char*, const char*> rates[] = {
            {9999.0 * kMiB, 9999.0 * kKiB, "9999M", "9999K"},
            {1.0 * kMiB, 1124.0 * kKiB, "1M", "1124K"},
            {10000.0 * kMiB, 10000.0 * kKiB, "10G", "10M"},
        };
        for (const auto& [read, write, first, second] : rates) {
            process.storageReadRate = read;
            process.storageWriteRate = write;
            const TrafficFigures figures = diskProcessFigures(process);
            QCOMPARE(figures.first, QLatin1String(first));
            QCOMPARE(figures.second, QLatin1String(second));
            row.setFigures(figures.first, figures.second);
            for (const QLabel* label : {row.firstFigureLabel(), row.secondFigureLabel()}) {
                QVERIFY(label->text().size() <= 5);
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                             label->contentsRect().width(),
                         qPrintable(label->text()));
            }
        }
    }

    void preferenceReachesEveryHolder() {
        ModelFixture f;
        f.publishProcesses(kThree);
        PopoverView popover(f.models(), *f.monitor, *f.ping, f.themeManager, *f.preferences);
        DiskTabView disk(f.models(), *f.monitor, *f.preferences);
        MemoryTabView memory(f.models(), *f.monitor, *f.preferences);
        auto* cpu = qobject_cast<CPUTabView*>(popover.currentTabView());
        QVERIFY(cpu);
        QCOMPARE(cpu->processes()->visibleRows()[0]->name(), QStringLiteral("firefox"));

        QTest::mouseClick(popover.listButton(), Qt::LeftButton);
        QCOMPARE(cpu->processes()->visibleRows()[0]->name(),
                 QStringLiteral("/usr/lib/firefox/firefox"));
        QCOMPARE(memory.processes()->visibleRows()[1]->name(),
                 QStringLiteral("/usr/share/code/code"));
        QCOMPARE(disk.processes()->visibleRows()[0]->text(),
                 QStringLiteral("/usr/lib/firefox/firefox"));
        QCOMPARE(disk.processes()->visibleRows()[0]->elideMode(), Qt::ElideLeft);

        // A change made elsewhere (the settings toggle) moves the popup too.
        f.preferences->setShowFullProcessPath(false);
        QCOMPARE(cpu->processes()->visibleRows()[0]->name(), QStringLiteral("firefox"));
        QCOMPARE(popover.listButton()->property("symbol").toString(),
                 QStringLiteral("list.bullet.rectangle.portrait"));
    }

    void trayLaunchers() {
        ModelFixture f;
        PopoverView popover(f.models(), *f.monitor, *f.ping, f.themeManager, *f.preferences);
        QVERIFY(popover.tray()->appButtons().isEmpty());
        f.publishProcesses(kThree);
        auto buttons = popover.tray()->appButtons();
        QCOMPARE(buttons.size(), 3);
        QCOMPARE(buttons[0]->toolTip(), QStringLiteral("Open firefox"));
        // None of these has an installed desktop entry here: nothing to launch.
        for (AppLaunchButton* button : buttons)
            QVERIFY(!button->isEnabled());
        // Other programs in the same number: the buttons show them, not the last ones.
        f.publishProcesses({{51, "alpha", "/usr/bin/alpha"},
                            {52, "beta", "/usr/bin/beta"},
                            {53, "gamma", "/usr/bin/gamma"}});
        QStringList tips;
        for (AppLaunchButton* button : popover.tray()->appButtons())
            tips << button->toolTip() << QString::number(button->process().id);
        tips.sort();
        QCOMPARE(tips, QStringList({"51", "52", "53", "Open alpha", "Open beta", "Open gamma"}));
        f.publishProcesses(manyProcesses(7));
        QCOMPARE(popover.tray()->appButtons().size(), 5);
        f.publishProcesses({});
        QVERIFY(popover.tray()->appButtons().isEmpty());
    }

    void trayLaunchesTheInstalledApplication() {
        // An installed application whose desktop file runs the busy executable.
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString apps = dir.filePath(QStringLiteral("applications"));
        const QString program = bin + QStringLiteral("/editor");
        QVERIFY(writeExecutable(program));
        const QString desktopFile = apps + QStringLiteral("/editor.desktop");
        QVERIFY(writeFile(desktopFile,
                          "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %F\n"));

        ModelFixture f({}, std::make_shared<pw::ApplicationCatalog>([=] {
                           return pw::platform::DesktopEntryIndex::scan({apps}, {bin});
                       }));
        PopoverView popover(f.models(), *f.monitor, *f.ping, f.themeManager, *f.preferences);
        QList<QStringList> launched;
        popover.tray()->setLauncher([&](const QString& command, const QStringList& arguments) {
            launched.append(QStringList{command} + arguments);
            return true;
        });
        f.publishProcesses(
            {{41, "editor", program.toStdString()}, {42, "spoof.desktop", "/tmp/spoof.desktop"}});
        const auto buttons = popover.tray()->appButtons();
        QCOMPARE(buttons.size(), 2);
        QVERIFY(buttons[0]->isEnabled());
        QVERIFY(!buttons[1]->isEnabled());
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QCOMPARE(launched, QList<QStringList>({{"gio", "launch", desktopFile}}));
    }

    void menuBarViewDrawsTheProvider() {
        ModelFixture f;
        MenuBarView view(f.stats());
        QCOMPARE(view.size(), QSize(70, 22));
        for (int i = 0; i < 60; ++i)
            f.cycle(50.0);
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        view.render(&image);
        // The history line runs halfway down its frame, in the desktop's accent colour.
        const QColor accent = platformAccentColor();
        const auto distance = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue());
        };
        // Antialiased over the readout's backing: nearer the accent than the backing.
        const auto isLine = [&](int y) {
            const QColor c = image.pixelColor(19, y);
            return c.alpha() > 150 && distance(c, accent) < distance(c, readoutBackingColor());
        };
        QVERIFY(isLine(10) || isLine(11) || isLine(12));
        QVERIFY(!isLine(5) && !isLine(17));
    }
};

QTEST_MAIN(TestPopover)
#include "tst_popover.moc"
