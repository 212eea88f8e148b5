#pragma once

#include <QWidget>

#include <functional>

namespace pw {
class LaunchAtLogin;
class Preferences;
class ThemeManager;
struct StatsModels;
} // namespace pw

namespace pw::ui {

// The dashboard's pages, one builder each. Live pages refresh from the models
// once per engine cycle for as long as they exist.
QWidget* buildSettingsPage(ThemeManager& themeManager, Preferences& preferences,
                           LaunchAtLogin& launchAtLogin);
QWidget* buildAlertsPage(Preferences& preferences);
QWidget* buildHistoryPage(std::function<void()> exportReport);
QWidget* buildSensorsPage(const StatsModels& models);
QWidget* buildMemoryPage(const StatsModels& models);
QWidget* buildDiskPage(const StatsModels& models);
QWidget* buildPowerPage(const StatsModels& models);
QWidget* buildNetworkPage(const StatsModels& models);
QWidget* buildFansPage(const StatsModels& models);
QWidget* buildGpuPage(const StatsModels& models);

} // namespace pw::ui
