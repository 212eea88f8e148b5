#include "app/app_delegate.h"
#include "app/floating_readout.h"
#include "app/popup_window.h"
#include "app/tray_entry.h"
#include "app/tray_menu.h"
#include "platform/fake/fake_sources.h"
#include "services/application_catalog.h"
#include "services/engine_models.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/theme_manager.h"
#include "ui/dashboard_requests.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace pw;
using pw::app::AppDelegate;
using pw::app::FloatingReadout;
using pw::app::PopupWindow;
using pw::app::TrayEntry;
using pw::app::TrayMenu;

// The delegate over scripted models, offscreen: there is no system tray there,
// so the tray entry is the floating readout.
class AppShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        // The readout's position goes to the user's configuration folder.
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        QCoreApplication::setOrganizationName(QStringLiteral("Pulsewick"));
        QCoreApplication::setApplicationName(QStringLiteral("Pulsewick"));
    }
    void init() {
        m_fake = platform::FakeSources{};
        m_engine = std::make_unique<EngineModels>(m_fake.sources(),
                                                  std::make_shared<platform::FakeDesktopNotifier>(),
                                                  [] { return 90.0; });
        m_stats = &m_engine->stats;
        m_preferences =
            std::make_unique<Preferences>(m_config.filePath(QStringLiteral("prefs.ini")));
        m_delegate = std::make_unique<AppDelegate>();
        m_delegate->applicationDidFinishLaunching({
            [this] { return m_engine->models(); },
            [this] {
                return std::make_unique<ProcessMonitor>(m_fake.sources(), Polling::Manual,
                                                        std::make_shared<ApplicationCatalog>([] {
                                                            return platform::DesktopEntryIndex{};
                                                        }));
            },
            [] {
                return std::make_unique<PingService>(QStringLiteral("127.0.0.1"), Polling::Manual);
            },
            [this]() -> ThemeManager& { return m_themes; },
            [this]() -> Preferences& { return *m_preferences; },
            TrayEntry::Kind::FloatingReadout,
        });
        QVERIFY(readout());
        QVERIFY(QTest::qWaitForWindowExposed(readout()));
    }
    void cleanup() {
        m_delegate.reset();
        m_engine.reset();
        m_stats = nullptr;
        m_preferences.reset();
    }
    void leftClickTogglesThePopupAndRightClickOnlyShowsTheMenu() {
        PopupWindow* popup = m_delegate->popup();
        QVERIFY(!popup->isOpen());

        clickReadout(Qt::LeftButton);
        QVERIFY(popup->isOpen());
        QCOMPARE(popup->size(), QSize(320, 620));
        QVERIFY(!m_delegate->contextMenu());
        // Inside the screen's available area.
        const QRect available = popup->screen()->availableGeometry();
        QVERIFY2(available.contains(popup->frameGeometry()), "popup leaves the screen");

        clickReadout(Qt::LeftButton);
        QVERIFY(!popup->isOpen());

        // A right click: the menu, and no popup.
        clickReadout(Qt::RightButton);
        QVERIFY(m_delegate->contextMenu());
        QTRY_VERIFY(m_delegate->contextMenu()->isVisible());
        QVERIFY(!popup->isOpen());
        // With the popup open, a right click leaves it as it is.
        m_delegate->contextMenu()->close();
        QTRY_VERIFY(!m_delegate->contextMenu());
        clickReadout(Qt::LeftButton);
        QVERIFY(popup->isOpen());
        clickReadout(Qt::RightButton);
        QVERIFY(popup->isOpen());
        m_delegate->contextMenu()->close();
        // After the menu, the next left click is a click again.
        clickReadout(Qt::LeftButton);
        QVERIFY(!popup->isOpen());
    }
    void popupClosesOnEscapeAndOnDeactivationButNotForOurOwnWindows() {
        PopupWindow* popup = m_delegate->popup();
        m_delegate->togglePopover();
        QVERIFY(popup->isOpen());
        QVERIFY(QTest::qWaitForWindowActive(popup));
        QTest::keyClick(popup, Qt::Key_Escape);
        QVERIFY(!popup->isOpen());

        // Another of our windows taking focus leaves the popup open...
        m_delegate->togglePopover();
        QVERIFY(QTest::qWaitForWindowActive(popup));
        QLineEdit ours;
        ours.show();
        ours.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ours));
        QVERIFY(popup->isOpen());

        // ...another application becoming active closes it, and the tray click
        // that caused that does not open it again at once.
        popup->onApplicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(!popup->isOpen());
        m_delegate->togglePopover();
        QVERIFY(!popup->isOpen());
        m_delegate->togglePopover();
        QVERIFY(popup->isOpen());
    }
    void menuEntriesAndDashboardRequests() {
        m_delegate->showContextMenu(QPoint(100, 100));
        TrayMenu* menu = m_delegate->contextMenu();
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 3); // their shortcuts are pressed below
        QVERIFY(actions[1]->isSeparator());

        QSignalSpy dashboards(m_delegate.get(), &AppDelegate::dashboardRequested);
        // "," in the open menu is "Settings...": the dashboard on its default page.
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Comma);
        QCOMPARE(dashboards.count(), 1);
        QCOMPARE(dashboards.at(0).at(0).toString(), QStringLiteral("Sensors"));
        QTRY_VERIFY(!m_delegate->contextMenu());

        // The in-process request from the views, with and without a tab.
        ui::DashboardRequests::instance().post(QStringLiteral("Settings"));
        ui::DashboardRequests::instance().post(std::nullopt);
        QCOMPARE(dashboards.count(), 3);
        QCOMPARE(dashboards.at(1).at(0).toString(), QStringLiteral("Settings"));
        QCOMPARE(dashboards.at(2).at(0).toString(), QStringLiteral("Sensors"));

        // A later start's request.
        m_delegate->handleInstanceRequest({true, QStringLiteral("Power")});
        QCOMPARE(dashboards.last().at(0).toString(), QStringLiteral("Power"));
        m_delegate->handleInstanceRequest({});
        QVERIFY(m_delegate->popup()->isOpen());
        m_delegate->handleInstanceRequest({}); // a second plain start does not close it
        QVERIFY(m_delegate->popup()->isOpen());

        // "q" in the menu quits.
        m_delegate->showContextMenu(QPoint(100, 100));
        QTRY_VERIFY(m_delegate->contextMenu()->isVisible());
        bool quitRequested = false;
        connect(m_delegate->contextMenu(), &TrayMenu::quitChosen, this,
                [&] { quitRequested = true; });
        // quit() itself would end the test run; see that the choice is made.
        QObject::disconnect(m_delegate->contextMenu(), &TrayMenu::quitChosen, qApp, nullptr);
        QTest::keyClick(m_delegate->contextMenu(), Qt::Key_Q);
        QVERIFY(quitRequested);
    }
    void readoutKeepsItsDraggedPosition() {
        PopupWindow* popup = m_delegate->popup();
        const QPoint start = readout()->pos();
        QTest::mousePress(readout(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(readout(), QPoint(30, 30));
        QTest::mouseMove(readout(), QPoint(-90, 60));
        QTest::mouseRelease(readout(), Qt::LeftButton, {}, QPoint(-90, 60));
        const QPoint moved = readout()->pos();
        QVERIFY(moved != start);
        QVERIFY2(!popup->isOpen(), "a drag is not a click");
        QCOMPARE(FloatingReadout::savedPosition(), std::optional<QPoint>(moved));

        // The next launch puts it back there.
        cleanup();
        init();
        QCOMPARE(readout()->pos(), moved);

        // A hand-edited value that is no position: the default place, no crash.
        {
            QSettings settings(QSettings::IniFormat, QSettings::UserScope,
                               QStringLiteral("Pulsewick"), QStringLiteral("Pulsewick"));
            settings.setValue(QLatin1String(FloatingReadout::kPositionKey),
                              QStringLiteral("12 by 40"));
        }
        QCOMPARE(FloatingReadout::savedPosition(), std::nullopt);
        cleanup();
        init();
        QCOMPARE(readout()->pos(), start);
    }
    void trayIconIsPushedOnlyWhenItsPixelsChange() {
        TrayEntry icon(*m_stats, {}, TrayEntry::Kind::SystemTray);
        QCOMPARE(icon.iconUpdates(), 1); // the first readout
        QVERIFY(!icon.readout());

        // Cycles that change nothing on screen push nothing.
        m_fake.cpu->cpu.reset();
        m_stats->updateStats();
        m_stats->updateStats();
        QCOMPARE(icon.iconUpdates(), 1);

        // A new CPU figure does.
        m_fake.cpu->cpu = std::vector<platform::CpuTicks>{{0, 100, 0, 100, 0}};
        m_stats->updateStats();
        m_fake.cpu->cpu = std::vector<platform::CpuTicks>{{0, 150, 0, 150, 0}};
        m_stats->updateStats();
        QCOMPARE(m_stats->cpuUsage(), 50.0);
        QCOMPARE(icon.iconUpdates(), 2);
        m_fake.cpu->cpu.reset();
        m_stats->updateStats();
        QCOMPARE(icon.iconUpdates(), 2);
    }

private:
    void clickReadout(Qt::MouseButton button) {
        QTest::mouseClick(readout(), button, {}, QPoint(35, 11));
    }
    FloatingReadout* readout() const { return m_delegate->trayEntry()->readout(); }

    QTemporaryDir m_config;
    platform::FakeSources m_fake;
    std::unique_ptr<EngineModels> m_engine;
    SystemStatsProvider* m_stats = nullptr;
    std::unique_ptr<Preferences> m_preferences;
    ThemeManager m_themes;
    std::unique_ptr<AppDelegate> m_delegate;
};

QTEST_MAIN(AppShellTest)
#include "test_app_shell.moc"
