#pragma once

#include "ui/app_launch_button.h"

#include <QList>
#include <QWidget>

class QHBoxLayout;
class QToolButton;

namespace pw {
class ProcessMonitor;
}

namespace pw::ui {

class TabBarButton;

// The floating tray at the foot of the popup: the five tab buttons, the
// dashboard button, and launchers for the busiest applications.
class BottomAppTray : public QWidget {
    Q_OBJECT

public:
    explicit BottomAppTray(ProcessMonitor& processMonitor, QWidget* parent = nullptr);

    void setSelectedTab(int selectedTab);
    // Replaces how launchers start programs (tests record instead of running).
    void setLauncher(Launcher launcher);

    QList<TabBarButton*> tabButtons() const { return m_tabButtons; }
    QToolButton* dashboardButton() const { return m_dashboardButton; }
    QList<AppLaunchButton*> appButtons() const;

Q_SIGNALS:
    void tabChosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildAppButtons();

    ProcessMonitor& m_processMonitor;
    Launcher m_launcher;
    QList<TabBarButton*> m_tabButtons;
    QToolButton* m_dashboardButton;
    QHBoxLayout* m_appRow;
};

} // namespace pw::ui
