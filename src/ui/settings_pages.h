#pragma once

#include <QWidget>

#include <functional>

namespace pw {
class LaunchAtLogin;
class Preferences;
class SystemStatsProvider;
class ThemeManager;
} // namespace pw

namespace pw::ui {

// The dashboard's pages, one builder each. Live pages follow the store's
// change signals for as long as they exist.
QWidget* buildSettingsPage(ThemeManager& themeManager, Preferences& preferences,
                           LaunchAtLogin& launchAtLogin);
QWidget* buildAlertsPage(Preferences& preferences);
QWidget* buildHistoryPage(std::function<void()> exportReport);
QWidget* buildSensorsPage(SystemStatsProvider& stats);
QWidget* buildMemoryPage(SystemStatsProvider& stats);
QWidget* buildDiskPage(SystemStatsProvider& stats);
QWidget* buildPowerPage(SystemStatsProvider& stats);
QWidget* buildNetworkPage(SystemStatsProvider& stats);
QWidget* buildFansPage(SystemStatsProvider& stats);

} // namespace pw::ui
