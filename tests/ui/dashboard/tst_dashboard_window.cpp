#include "ui/ui_test_support.h"

#include "platform/fake/fake_sources.h"
#include "services/engine_models.h"
#include "services/preferences.h"
#include "services/system_colors.h"
#include "services/theme_manager.h"
#include "ui/dashboard_window.h"
#include "ui/format/figure_format.h"
#include "ui/level_bar_chart.h"
#include "ui/memory_card.h"
#include "ui/segmented_button.h"
#include "ui/sensor_circle.h"
#include "ui/settings_view.h"
#include "ui/sidebar_button.h"
#include "ui/switch_button.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace pw;
using namespace pw::ui;

namespace {

constexpr auto kGiBytes = static_cast<std::uint64_t>(kGiB);

// One engine, theme holder and preference file per test.
struct Fixture {
    QTemporaryDir dir;
    platform::FakeSources fake;
    EngineModels engine{fake.sources(), std::make_shared<platform::FakeDesktopNotifier>(),
                        [] { return 90.0; }};
    SystemStatsProvider& stats = engine.stats;
    ThemeManager themes;
    Preferences preferences{dir.filePath("prefs.ini")};

    std::unique_ptr<DashboardWindow> open(const QString& page) {
        auto window = std::make_unique<DashboardWindow>(themes, preferences, engine.models(), page);
        window->show();
        return window;
    }
};

SidebarButton* buttonTitled(SettingsView* view, const QString& title) {
    for (SidebarButton* b : view->sidebarButtons()) {
        if (b->title() == title)
            return b;
    }
    return nullptr;
}

QStringList highlightedSymbols(SettingsView* view) {
    QStringList out;
    for (SidebarButton* b : view->sidebarButtons()) {
        if (b->isHighlighted())
            out << b->symbolName();
    }
    return out;
}

template <typename T> T* child(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace

class TestDashboardWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // LaunchAtLogin::shared() reads the folder once, so it is set before any page exists.
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }
    void opensOnRequestedPage() {
        Fixture f;
        auto window = f.open(QString());
        // 800 x 600 where the screen has room (this one is 800 x 600 itself, so
        // the window gives way to its frame), never less than the minimum.
        const QRect area = window->screen()->availableGeometry();
        QVERIFY(window->width() <= 800 && window->height() <= 600);
        QVERIFY(window->width() + 20 <= area.width() || window->width() == 800);
        QVERIFY(window->height() + 40 <= area.height() || window->height() == 600);
        QCOMPARE(window->minimumSize(), DashboardWindow::kMinimumSize);
        QVERIFY(window->maximumWidth() > 800 && window->maximumHeight() > 600);
        QVERIFY(window->isWindow());
        QVERIFY(!window->testAttribute(Qt::WA_DeleteOnClose));
        SettingsView* view = window->settingsView();
        QCOMPARE(view->selectedSidebarItem(), QStringLiteral("Sensors"));
        QCOMPARE(view->headerTitle(), QStringLiteral("Sensors"));
        QCOMPARE(view->currentPage()->objectName(), QStringLiteral("SensorsPage"));
        QCOMPARE(highlightedSymbols(view), QStringList{"cpu"});

        auto history = f.open(QStringLiteral("History"));
        QCOMPARE(history->settingsView()->currentPage()->objectName(),
                 QStringLiteral("HistoryPage"));
        QCOMPARE(highlightedSymbols(history->settingsView()), QStringList{"clock.fill"});
        QVERIFY(child<QWidget>(history.get(), "exportCsvButton"));

        // A title naming no page: header shows it, nothing is highlighted, page area empty.
        auto odd = f.open(QStringLiteral("Diagnostics"));
        QCOMPARE(odd->settingsView()->headerTitle(), QStringLiteral("Diagnostics"));
        QVERIFY(highlightedSymbols(odd->settingsView()).isEmpty());
        QCOMPARE(odd->settingsView()->currentPage()->objectName(), QStringLiteral("EmptyPage"));
    }
    void sidebarSelectsPages() {
        Fixture f;
        auto window = f.open(QStringLiteral("Sensors"));
        SettingsView* view = window->settingsView();
        QSignalSpy changed(view, &SettingsView::selectedSidebarItemChanged);

        QTest::mouseClick(buttonTitled(view, "Cloud"), Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(view->headerTitle(), QStringLiteral("Cloud"));
        QCOMPARE(highlightedSymbols(view), QStringList{"cloud.fill"});
        QWidget* cloud = view->currentPage();
        QCOMPARE(cloud->objectName(), QStringLiteral("EmptyPage"));
        QVERIFY(cloud->findChildren<QWidget*>().isEmpty());

        for (const char* title : {"Settings", "Alerts", "Memory", "Disk", "Fans", "Power",
                                  "History", "Network", "GPU", "Sensors"}) {
            QTest::mouseClick(buttonTitled(view, title), Qt::LeftButton);
            QCOMPARE(view->currentPage()->objectName(), QString::fromLatin1(title) + "Page");
            QCOMPARE(highlightedSymbols(view).size(), 1);
            QCOMPARE(view->headerTitle(), QString::fromLatin1(title));
        }
        // Clicking the page already shown changes nothing.
        const int before = changed.count();
        QTest::mouseClick(buttonTitled(view, "Sensors"), Qt::LeftButton);
        QCOMPARE(changed.count(), before);
    }
    void thresholdSliderStoresItsEnds() {
        Fixture f;
        auto window = f.open(QStringLiteral("Alerts"));
        auto* slider = child<QSlider>(window.get(), "alertThresholdSlider");
        auto* text = child<QLabel>(window.get(), "alertThresholdValue");
        QVERIFY(slider && text);
        QCOMPARE(text->text(), QStringLiteral("90%")); // empty store: the default
        QCOMPARE(slider->value(), 9000);

        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(f.preferences.cpuAlertThreshold(), 50.0);
        QCOMPARE(text->text(), QStringLiteral("50%"));
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(f.preferences.cpuAlertThreshold(), 100.0);
        QCOMPARE(text->text(), QStringLiteral("100%"));
        QCOMPARE(Preferences(f.dir.filePath("prefs.ini")).cpuAlertThreshold(), 100.0);

        // A drag moves the text at once and stores only on release.
        slider->setSliderDown(true);
        slider->setValue(6000);
        QCOMPARE(text->text(), QStringLiteral("60%"));
        QCOMPARE(f.preferences.cpuAlertThreshold(), 100.0);
        slider->setSliderDown(false);
        QCOMPARE(f.preferences.cpuAlertThreshold(), 60.0);

        // A value stored elsewhere is shown, truncated, and never written back rounded.
        f.preferences.setCpuAlertThreshold(99.7);
        QCOMPARE(text->text(), QStringLiteral("99%"));
        QCOMPARE(slider->value(), 9970);
        f.preferences.setCpuAlertThreshold(120.25);
        QCOMPARE(slider->value(), slider->maximum());
        QCOMPARE(text->text(), QStringLiteral("120%"));
        QCOMPARE(f.preferences.cpuAlertThreshold(), 120.25);
    }
    void memoryBarFollowsPressure() {
        Fixture f;
        auto window = f.open(QStringLiteral("Memory"));
        auto* bar = child<LevelBarChart>(window.get(), "memoryPressureBar");
        QVERIFY(bar);
        QVERIFY(bar->width() > 0);
        QCOMPARE(bar->fillWidth(), 0.0); // pressure 0 before any sample
        QCOMPARE(bar->fillColor(), systemColor::green());

        f.fake.memory->counters = platform::MemoryCounters{701, 0, 0, 1000};
        f.stats.updateStats();
        QVERIFY(f.stats.memoryPressure() > 70.0);
        QCOMPARE(bar->fillColor(), systemColor::red());
        QCOMPARE(child<QLabel>(window.get(), "memoryPressureText")->text(), QStringLiteral("70%"));

        f.fake.memory->counters =
            platform::MemoryCounters{4 * kGiBytes, 6 * kGiBytes, 2 * kGiBytes, 16 * kGiBytes};
        f.stats.updateStats();
        QCOMPARE(child<QLabel>(window.get(), "memoryUsageText")->text(),
                 QStringLiteral("12.0 GB / 16 GB"));
        QCOMPARE(bar->fillWidth(), bar->width() * 0.75);
        QStringList values;
        for (MemoryCard* card : window->findChildren<MemoryCard*>())
            values << card->title() + "=" + card->value();
        QCOMPARE(values,
                 QStringList({"App Memory=6.00 GB", "Wired=4.00 GB", "Compressed=2.00 GB"}));
    }
    void livePagesFollowTheStore() {
        Fixture f;
        auto window = f.open(QStringLiteral("Sensors"));
        SensorCircle* cpu = nullptr;
        for (SensorCircle* circle : window->findChildren<SensorCircle*>()) {
            if (circle->title() == QLatin1String("CPU"))
                cpu = circle;
        }
        QVERIFY(cpu);
        QCOMPARE(cpu->value(), QStringLiteral("0%"));
        f.fake.cpu->cpu = std::vector<platform::CpuTicks>{{0, 100, 100, 100, 0}};
        f.stats.updateStats();
        f.fake.cpu->cpu = std::vector<platform::CpuTicks>{{0, 157, 100, 143, 0}};
        f.stats.updateStats();
        QVERIFY(f.stats.cpuUsage() > 50.0 && f.stats.cpuUsage() < 58.0);
        QCOMPARE(cpu->value(), QString::number(qint64(f.stats.cpuUsage())) + "%");

        // A page opened later starts from the current figures (the Power page's
        // texts themselves: tst_live_figures).
        f.fake.power->supplies = {platform::fakeBattery("Discharging", 64, 7'250'000)};
        f.stats.updateStats();
        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Power"));
        QCOMPARE(child<QLabel>(window.get(), "batteryPercentText")->text(), QStringLiteral("64%"));
    }
    void fullPathSwitchSharesPreference() {
        Fixture f;
        auto first = f.open(QStringLiteral("Settings"));
        auto second = f.open(QStringLiteral("Settings"));
        auto* mine = child<SwitchButton>(first.get(), "showFullProcessPathSwitch");
        auto* other = child<SwitchButton>(second.get(), "showFullProcessPathSwitch");
        QVERIFY(mine && other);
        QVERIFY(!mine->isChecked());
        QSignalSpy changed(&f.preferences, &Preferences::showFullProcessPathChanged);

        QTest::mouseClick(mine, Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QVERIFY(f.preferences.showFullProcessPath());
        QVERIFY(other->isChecked());
        QVERIFY(Preferences(f.dir.filePath("prefs.ini")).showFullProcessPath());

        // The reverse: a change made elsewhere (the popup header) moves both switches.
        f.preferences.setShowFullProcessPath(false);
        QVERIFY(!mine->isChecked());
        QVERIFY(!other->isChecked());
        QCOMPARE(changed.count(), 2);
    }
    void themePickerAndFixedControls() {
        Fixture f;
        auto window = f.open(QStringLiteral("Settings"));
        auto* picker = child<SegmentedButton>(window.get(), "themePicker");
        QCOMPARE(picker->currentIndex(), 0);
        QTest::mouseClick(picker, Qt::LeftButton, {}, picker->segmentRect(3).center());
        QCOMPARE(f.themes.currentTheme(), AppTheme::ink);
        auto reopened = f.open(QStringLiteral("Settings"));
        QCOMPARE(child<SegmentedButton>(reopened.get(), "themePicker")->currentIndex(), 3);
        f.themes.stepToNextTheme(); // the popup's theme button
        QCOMPARE(picker->currentIndex(), 0);

        // The switch beside the page title does nothing: it shows on, disabled.
        auto* header = child<SwitchButton>(window.get(), "headerSwitch");
        QVERIFY(!header->isEnabled());
        QTest::mouseClick(header, Qt::LeftButton);
        QVERIFY(header->isChecked());

        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Fans"));
        auto* fans = child<SegmentedButton>(window.get(), "fanModePicker");
        QTest::mouseClick(fans, Qt::LeftButton, {}, fans->segmentRect(2).center());
        QCOMPARE(fans->currentIndex(), 0);
        QVERIFY(!fans->isEnabled() && !fans->toolTip().isEmpty());

        // Switches with nothing behind them stay off and say so.
        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Alerts"));
        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Sensors"));
        for (const char* name : {"networkConnectionAlertsSwitch", "highPrecisionModeSwitch"}) {
            auto* unavailable = child<SwitchButton>(window.get(), name);
            QVERIFY2(unavailable, name);
            QVERIFY(!unavailable->isEnabled());
            QVERIFY(!unavailable->isChecked());
            QVERIFY(!unavailable->toolTip().isEmpty());
        }
    }
    void launchAtLoginWritesTheAutostartEntry() {
        Fixture f;
        auto window = f.open(QStringLiteral("Settings"));
        auto* login = child<SwitchButton>(window.get(), "launchAtLoginSwitch");
        auto* reason = child<QLabel>(window.get(), "launchAtLoginError");
        QVERIFY(login && reason);
        const QString folder = m_config.filePath(QStringLiteral("autostart"));
        const QString entry = folder + QStringLiteral("/pulsewick.desktop");
        QVERIFY(!login->isChecked());

        QTest::mouseClick(login, Qt::LeftButton);
        QVERIFY(login->isChecked());
        QVERIFY(QFile::exists(entry));
        QTest::mouseClick(login, Qt::LeftButton);
        QVERIFY(!login->isChecked());
        QVERIFY(!QFile::exists(entry));

        // A file where the folder should be: the switch goes back and says why.
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QTest::mouseClick(login, Qt::LeftButton);
        QVERIFY(!login->isChecked());
        QVERIFY(!login->toolTip().isEmpty());
        QCOMPARE(reason->text(), login->toolTip());
        QVERIFY(!reason->isHidden());

        QVERIFY(QFile::remove(folder));
        QTest::mouseClick(login, Qt::LeftButton);
        QVERIFY(login->isChecked());
        QVERIFY(reason->isHidden());
        QVERIFY(login->toolTip().isEmpty());
        QVERIFY(QFile::remove(entry));
    }
    void alertSwitchesPersist() {
        Fixture f;
        auto window = f.open(QStringLiteral("Alerts"));
        auto* cpu = child<SwitchButton>(window.get(), "highCpuAlertsSwitch");
        auto* disk = child<SwitchButton>(window.get(), "diskSpaceLowAlertsSwitch");
        QVERIFY(cpu && disk);
        QVERIFY(cpu->isChecked() && disk->isChecked());
        QTest::mouseClick(cpu, Qt::LeftButton);
        QTest::mouseClick(disk, Qt::LeftButton);
        QVERIFY(!f.preferences.highCpuAlertsEnabled());
        const Preferences reread(f.dir.filePath("prefs.ini"));
        QVERIFY(!reread.highCpuAlertsEnabled());
        QVERIFY(!reread.diskSpaceLowAlertsEnabled());
        f.preferences.setDiskSpaceLowAlertsEnabled(true);
        QVERIFY(disk->isChecked());
        QVERIFY(!cpu->isChecked());
    }
    void hardwarePagesShowTheStore() {
        Fixture f;
        f.fake.storage->volume =
            platform::VolumeSpace{"Data", "/", "sda1", 64 * kGiBytes, 16 * kGiBytes, false};
        f.fake.connections->connections = std::vector<platform::TcpConnection>{
            {"10.0.0.2", 40000, "10.0.0.9", 443}, {"10.0.0.2", 40001, "fd00::9", 22}};
        f.fake.fans->readings = {{"cpu_fan", 2240}};
        auto window = f.open(QStringLiteral("Disk"));
        const QString dash = QString::fromUtf8("\u2014");
        QCOMPARE(child<QLabel>(window.get(), "diskVolumeText")->text(), dash);
        QCOMPARE(child<QLabel>(window.get(), "diskUsedText")->text(), dash);
        QCOMPARE(child<QLabel>(window.get(), "smartStatusText")->text(), "SMART Status: " + dash);

        f.stats.updateStats(); // the first cycle reads volume and connections
        QCOMPARE(child<QLabel>(window.get(), "diskVolumeText")->text(), QStringLiteral("Data"));
        QCOMPARE(child<QLabel>(window.get(), "diskKindText")->text(), QStringLiteral("SSD"));
        QCOMPARE(child<QLabel>(window.get(), "diskUsedText")->text(), QStringLiteral("75% Used"));
        QCOMPARE(child<QLabel>(window.get(), "diskSizesText")->text(),
                 QStringLiteral("48 GB / 64 GB"));
        auto* bar = child<LevelBarChart>(window.get(), "diskUsageBar");
        QCOMPARE(bar->fillWidth(), bar->width() * 0.75);

        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Network"));
        // Read off the main thread; the first cycle after the read shows them.
        const auto cycleShowsConnections = [&f] {
            f.stats.updateStats();
            return f.engine.network.activeConnections().size() == 2;
        };
        QTRY_VERIFY_WITH_TIMEOUT(cycleShowsConnections(), 5000);
        QStringList rows;
        for (QLabel* label :
             child<QWidget>(window.get(), "connectionRows")->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                rows << label->text();
        QCOMPARE(rows, QStringList({"10.0.0.9:443", "ESTABLISHED", "[fd00::9]:22", "ESTABLISHED"}));

        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Fans"));
        auto* single = child<QLabel>(window.get(), "fanSpeedText");
        QCOMPARE(single->text(), QStringLiteral("Fan Speed: 2,240 RPM"));
        f.fake.fans->readings = {{"CPU", 1200}, {"Chassis", 860}};
        f.stats.updateStats();
        QVERIFY(single->isHidden());
        QStringList lines;
        for (QLabel* label : child<QWidget>(window.get(), "fanSpeedLines")->findChildren<QLabel*>())
            lines << label->text();
        QCOMPARE(lines, QStringList({"CPU: 1,200 RPM", "Chassis: 860 RPM"}));
        f.fake.fans->readings.clear();
        f.stats.updateStats();
        QCOMPARE(single->text(), QStringLiteral("No fan sensors"));
    }
    void exportRevealsWrittenFile() {
        Fixture f;
        auto window = f.open(QStringLiteral("History"));
        QStringList revealed;
        window->settingsView()->setRevealFile([&revealed](const QString& p) { revealed << p; });
        QTest::mouseClick(child<QWidget>(window.get(), "exportCsvButton"), Qt::LeftButton);
        QCOMPARE(revealed.size(), 1);
        const QFileInfo file(revealed.first());
        QVERIFY(file.exists());
        QVERIFY(file.fileName().startsWith(QStringLiteral("Pulsewick_History_")));
        QFile::remove(revealed.first());
    }
    void quitButtonEndsEventLoop() {
        Fixture f;
        auto window = f.open(QStringLiteral("Sensors"));
        QTimer::singleShot(0, window.get(), [&] {
            QTest::mouseClick(window->settingsView()->quitButton(), Qt::LeftButton);
        });
        // A guard so a broken button fails the test instead of hanging it.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        guard.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestDashboardWindow)
#include "tst_dashboard_window.moc"
