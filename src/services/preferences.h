#pragma once

#include "services/settings_file.h"

#include <QObject>

namespace pw {

// The two persisted preferences. One instance is shared by every holder, so a
// change made anywhere reaches every view at once. Defaults are never written;
// a stored value of the wrong type reads as the default.
class Preferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool showFullProcessPath READ showFullProcessPath WRITE setShowFullProcessPath NOTIFY
                   showFullProcessPathChanged)
    Q_PROPERTY(double cpuAlertThreshold READ cpuAlertThreshold WRITE setCpuAlertThreshold NOTIFY
                   cpuAlertThresholdChanged)
    Q_PROPERTY(bool highCpuAlertsEnabled READ highCpuAlertsEnabled WRITE setHighCpuAlertsEnabled
                   NOTIFY highCpuAlertsEnabledChanged)
    Q_PROPERTY(bool diskSpaceLowAlertsEnabled READ diskSpaceLowAlertsEnabled WRITE
                   setDiskSpaceLowAlertsEnabled NOTIFY diskSpaceLowAlertsEnabledChanged)

public:
    static constexpr bool kDefaultShowFullProcessPath = false;
    static constexpr double kDefaultCpuAlertThreshold = 90.0;
    static constexpr bool kDefaultHighCpuAlertsEnabled = true;
    static constexpr bool kDefaultDiskSpaceLowAlertsEnabled = true;

    // The store for organisation and application "Pulsewick" in the user's
    // configuration folder. A file there that is not a regular file, or is over
    // 1 MiB, is left alone: the defaults apply.
    static Preferences& shared();

    // A store at an explicit file, for tests.
    explicit Preferences(const QString& iniPath, QObject* parent = nullptr);

    bool showFullProcessPath() const { return m_showFullProcessPath; }
    void setShowFullProcessPath(bool value);

    double cpuAlertThreshold() const { return m_cpuAlertThreshold; }
    void setCpuAlertThreshold(double value);

    bool highCpuAlertsEnabled() const { return m_highCpuAlertsEnabled; }
    void setHighCpuAlertsEnabled(bool value);

    bool diskSpaceLowAlertsEnabled() const { return m_diskSpaceLowAlertsEnabled; }
    void setDiskSpaceLowAlertsEnabled(bool value);

Q_SIGNALS:
    void showFullProcessPathChanged(bool value);
    void cpuAlertThresholdChanged(double value);
    void highCpuAlertsEnabledChanged(bool value);
    void diskSpaceLowAlertsEnabledChanged(bool value);

private:
    Preferences();
    void load();
    void store(const char* key, const QString& value);

    SettingsFile m_settings;
    bool m_showFullProcessPath = kDefaultShowFullProcessPath;
    double m_cpuAlertThreshold = kDefaultCpuAlertThreshold;
    bool m_highCpuAlertsEnabled = kDefaultHighCpuAlertsEnabled;
    bool m_diskSpaceLowAlertsEnabled = kDefaultDiskSpaceLowAlertsEnabled;
};

} // namespace pw
