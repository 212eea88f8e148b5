#pragma once

#include "services/stats_models.h"

#include "app/single_instance.h"
#include "app/tray_entry.h"
#include "app/tray_menu.h"

#include <QAction>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace pw {
class SystemStatsProvider;
class ProcessMonitor;
class PingService;
class ThemeManager;
class Preferences;
} // namespace pw

namespace pw::app {

class PopupWindow;

// Where the delegate gets its model objects from, each asked for once, in
// launch order. The running program passes the shared and live ones; tests
// pass their own.
struct ModelSources {
    std::function<StatsModels()> models;
    std::function<std::unique_ptr<ProcessMonitor>()> processMonitor;
    std::function<std::unique_ptr<PingService>()> pingService;
    std::function<ThemeManager&()> themeManager;
    std::function<Preferences&()> preferences;
    std::optional<TrayEntry::Kind> trayKind; // default: what the desktop offers
};

// Owns everything on screen outside the views: the model objects, the tray
// entry and its menu, the popup and the dashboard window. Lives as long as
// the program.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    static constexpr auto kDefaultDashboardPage = "Sensors";

    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching(ModelSources sources);

    // A left click on the tray entry.
    void togglePopover();
    // A right click on the tray entry: the menu at `globalPos`.
    void showContextMenu(QPoint globalPos);
    // Opens a new dashboard window on `tab`, or on "Sensors" when absent.
    void showSettings(std::optional<QString> tab);
    // A later start of the program handed us its request.
    void handleInstanceRequest(const InstanceRequest& request);

    PopupWindow* popup() const { return m_popup; }
    TrayEntry* trayEntry() const { return m_trayEntry.get(); }
    TrayMenu* contextMenu() const { return m_menu; }
    QList<QAction*> trayMenuActions() { return {&m_settingsAction, &m_separator, &m_quitAction}; }
    QWidget* dashboardWindow() const { return m_dashboardWindow.get(); }

Q_SIGNALS:
    // After every showSettings, with the page it chose.
    void dashboardRequested(const QString& page);

private:
    std::optional<StatsModels> m_models;
    std::unique_ptr<ProcessMonitor> m_processMonitor;
    std::unique_ptr<PingService> m_pingService;
    ThemeManager* m_themeManager = nullptr;
    Preferences* m_preferences = nullptr;
    std::unique_ptr<TrayEntry> m_trayEntry;
    PopupWindow* m_popup = nullptr; // owned; deleted in the destructor
    QPointer<TrayMenu> m_menu;
    // The menu StatusNotifierItem hosts draw: "Settings...", a separator, "Quit Pulsewick".
    QAction m_settingsAction;
    QAction m_separator;
    QAction m_quitAction;
    std::unique_ptr<QWidget> m_dashboardWindow;
};

} // namespace pw::app
