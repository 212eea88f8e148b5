#pragma once

#include <QWidget>

namespace pw {
class Preferences;
class ThemeManager;
struct StatsModels;
} // namespace pw

namespace pw::ui {

class SettingsView;

// The "Pulsewick Dashboard" window around the settings view: 800 x 600 where
// the screen has room, resizable down to a size that fits small laptop
// screens, the content scrolling once the window is smaller than it. It is
// not deleted when closed: its owner keeps it until the next request replaces it.
class DashboardWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr QSize kMinimumSize{480, 360};

    DashboardWindow(ThemeManager& themeManager, Preferences& preferences, const StatsModels& models,
                    const QString& initialPage, QWidget* parent = nullptr);

    SettingsView* settingsView() const { return m_view; }

private:
    void fitAndCentreOnScreen();

    SettingsView* m_view;
};

} // namespace pw::ui
