#pragma once

#include <QWidget>

#include <functional>

namespace pw {
class HistoryService;
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
// `history` is absent where there is no store; `revealFile` shows a written file.
QWidget* buildHistoryPage(std::function<void()> exportReport, HistoryService* history,
                          std::function<void(const QString&)> revealFile);
QWidget* buildSensorsPage(const StatsModels& models);
QWidget* buildMemoryPage(const StatsModels& models);
QWidget* buildDiskPage(const StatsModels& models);
QWidget* buildPowerPage(const StatsModels& models);
QWidget* buildNetworkPage(const StatsModels& models);
QWidget* buildFansPage(const StatsModels& models);
QWidget* buildGpuPage(const StatsModels& models);

} // namespace pw::ui
