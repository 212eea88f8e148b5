#include "app/app_delegate.h"

#include "app/popup_window.h"
#include "app/tray_menu.h"
#include "app/x11_hints.h"
#include "services/log_line.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/system_stats_provider.h"
#include "services/theme_manager.h"
#include "ui/dashboard_requests.h"
#include "ui/popover_view.h"

#include <QApplication>

// The dashboard window arrives with its own module; until it is built in, a
// request only gets as far as a log line.
#if __has_include("ui/dashboard_window.h")
#include "ui/dashboard_window.h"
#define PW_HAS_DASHBOARD_WINDOW 1
#else
#define PW_HAS_DASHBOARD_WINDOW 0
#endif

namespace pw::app {

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent), m_settingsAction(TrayMenu::settingsText()),
      m_quitAction(TrayMenu::quitText()) {
    m_separator.setSeparator(true);
    connect(&m_settingsAction, &QAction::triggered, this, [this] { showSettings(std::nullopt); });
    connect(&m_quitAction, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);
}

AppDelegate::~AppDelegate() {
    delete m_menu.data();
    delete m_popup;
}

void AppDelegate::applicationDidFinishLaunching(ModelSources sources) {
    connect(&ui::DashboardRequests::instance(), &ui::DashboardRequests::openDashboardRequested,
            this, &AppDelegate::showSettings);
    m_models.emplace(sources.models());
    m_processMonitor = sources.processMonitor();
    m_pingService = sources.pingService();
    m_themeManager = &sources.themeManager();
    m_preferences = &sources.preferences();

    m_trayEntry =
        std::make_unique<TrayEntry>(m_models->stats, trayMenuActions(), sources.trayKind);
    connect(m_trayEntry.get(), &TrayEntry::leftClicked, this, &AppDelegate::togglePopover);
    connect(m_trayEntry.get(), &TrayEntry::contextMenuRequested, this,
            &AppDelegate::showContextMenu);

    m_popup = new PopupWindow(new ui::PopoverView(*m_models, *m_processMonitor, *m_pingService,
                                                  *m_themeManager, *m_preferences));
}

void AppDelegate::togglePopover() {
    if (m_popup)
        m_popup->toggle(m_trayEntry ? m_trayEntry->anchorGeometry() : std::nullopt);
}

void AppDelegate::showContextMenu(QPoint globalPos) {
    if (m_menu)
        m_menu->close();
    // Built anew each time, as the entries' state could have changed.
    m_menu = new TrayMenu();
    connect(m_menu, &TrayMenu::settingsChosen, this, [this] { showSettings(std::nullopt); });
    connect(m_menu, &TrayMenu::quitChosen, qApp, &QApplication::quit, Qt::QueuedConnection);
    if (onWayland()) {
        // Without a window of ours under the pointer the menu cannot be a
        // popup there; a fixed size makes tiling compositors float it
        // instead of giving it a whole tile.
        m_menu->setFixedSize(m_menu->sizeHint());
        m_menu->popup(QPoint());
        return;
    }
    m_menu->popup(globalPos);
}

void AppDelegate::showSettings(std::optional<QString> tab) {
    const QString page = tab.value_or(QString::fromLatin1(kDefaultDashboardPage));
    // Never reused: the previous window goes and a fresh one opens on `page`.
    if (m_dashboardWindow) {
        m_dashboardWindow->close();
        m_dashboardWindow.reset();
    }
#if PW_HAS_DASHBOARD_WINDOW
    m_dashboardWindow =
        std::make_unique<ui::DashboardWindow>(*m_themeManager, *m_preferences, *m_models, page);
    m_dashboardWindow->show();
    m_dashboardWindow->raise();
    m_dashboardWindow->activateWindow();
#else
    logLine(QStringLiteral("OpenDashboard: ") + page);
#endif
    Q_EMIT dashboardRequested(page);
}

void AppDelegate::handleInstanceRequest(const InstanceRequest& request) {
    if (request.dashboard) {
        showSettings(request.page);
        return;
    }
    // Started again while running: show where we are.
    if (m_popup && !m_popup->isOpen())
        togglePopover();
}

} // namespace pw::app
