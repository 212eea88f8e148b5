#pragma once

#include "services/stats_models.h"

#include <QWidget>

class QLabel;
class QScrollArea;
class QToolButton;

namespace pw {
class ProcessMonitor;
class PingService;
class ThemeManager;
class Preferences;
} // namespace pw

namespace pw::ui {

class BottomAppTray;
class VisualEffectView;

// The 320 × 620 popup: header with the path, settings and theme buttons, the
// selected tab's view, and the tray with the tab buttons and launchers. It
// always uses the dark appearance and the current theme's backdrop and accent.
class PopoverView : public QWidget {
    Q_OBJECT

public:
    PopoverView(const StatsModels& models, ProcessMonitor& processMonitor, PingService& pingService,
                ThemeManager& themeManager, Preferences& preferences, QWidget* parent = nullptr);

    int selectedTab() const { return m_selectedTab; }
    void setSelectedTab(int index);

    // The view in the tab area now; none for an index without a tab.
    QWidget* currentTabView() const { return m_currentView; }
    // Held for the views to come; nothing in the popup reads it yet.
    PingService& pingService() const { return m_pingService; }
    BottomAppTray* tray() const { return m_tray; }
    VisualEffectView* backdrop() const { return m_backdrop; }
    QToolButton* listButton() const { return m_listButton; }
    QToolButton* gearButton() const { return m_gearButton; }
    QToolButton* themeButton() const { return m_themeButton; }
    // Whether the header shows the "logo" image (else the shield symbol).
    bool showsLogoImage() const { return m_showsLogoImage; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* makeTabView(int index);
    void applyTheme();
    void applyListSymbol();

    StatsModels m_models;
    ProcessMonitor& m_processMonitor;
    PingService& m_pingService;
    ThemeManager& m_themeManager;
    Preferences& m_preferences;
    int m_selectedTab = 0;
    bool m_showsLogoImage = false;
    VisualEffectView* m_backdrop;
    QToolButton* m_listButton = nullptr;
    QToolButton* m_gearButton = nullptr;
    QToolButton* m_themeButton = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    QWidget* m_currentView = nullptr;
    BottomAppTray* m_tray = nullptr;
};

} // namespace pw::ui
