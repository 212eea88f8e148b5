#include "services/preferences.h"

#include "services/settings_file.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace pw {
namespace {
constexpr auto kShowFullProcessPath = "showFullProcessPath";
constexpr auto kCpuAlertThreshold = "cpuAlertThreshold";
constexpr auto kHighCpuAlertsEnabled = "highCpuAlertsEnabled";
constexpr auto kDiskSpaceLowAlertsEnabled = "diskSpaceLowAlertsEnabled";

// Accept only what parses as the key's type, so a hand-edited or corrupt file
// falls back to the default.
std::optional<bool> readBool(const std::optional<QString>& v) {
    const QString s = v ? unquotedSettingsValue(*v).trimmed().toLower() : QString();
    if (s == QLatin1String("true"))
        return true;
    if (s == QLatin1String("false"))
        return false;
    return std::nullopt;
}

std::optional<double> readDouble(const std::optional<QString>& v) {
    bool ok = false;
    const double d = v ? unquotedSettingsValue(*v).trimmed().toDouble(&ok) : 0.0;
    if (ok && std::isfinite(d))
        return d;
    return std::nullopt;
}

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}
} // namespace

Preferences& Preferences::shared() {
    static Preferences* instance = new Preferences();
    return *instance;
}

Preferences::Preferences() : Preferences(settingsFilePath()) {}

Preferences::Preferences(const QString& iniPath, QObject* parent)
    : QObject(parent), m_settings(iniPath) {
    load();
}

void Preferences::load() {
    const auto value = [this](const char* key) { return m_settings.value(QLatin1String(key)); };
    if (auto v = readBool(value(kShowFullProcessPath)))
        m_showFullProcessPath = *v;
    if (auto v = readDouble(value(kCpuAlertThreshold)))
        m_cpuAlertThreshold = *v;
    if (auto v = readBool(value(kHighCpuAlertsEnabled)))
        m_highCpuAlertsEnabled = *v;
    if (auto v = readBool(value(kDiskSpaceLowAlertsEnabled)))
        m_diskSpaceLowAlertsEnabled = *v;
}

void Preferences::store(const char* key, const QString& value) {
    m_settings.setValue(QLatin1String(key), value);
}

void Preferences::setShowFullProcessPath(bool value) {
    if (value == m_showFullProcessPath)
        return;
    m_showFullProcessPath = value;
    store(kShowFullProcessPath, boolText(value));
    Q_EMIT showFullProcessPathChanged(value);
}

void Preferences::setCpuAlertThreshold(double value) {
    if (value == m_cpuAlertThreshold)
        return;
    m_cpuAlertThreshold = value;
    store(kCpuAlertThreshold, QString::number(value, 'g', QLocale::FloatingPointShortest));
    Q_EMIT cpuAlertThresholdChanged(value);
}

void Preferences::setHighCpuAlertsEnabled(bool value) {
    if (value == m_highCpuAlertsEnabled)
        return;
    m_highCpuAlertsEnabled = value;
    store(kHighCpuAlertsEnabled, boolText(value));
    Q_EMIT highCpuAlertsEnabledChanged(value);
}

void Preferences::setDiskSpaceLowAlertsEnabled(bool value) {
    if (value == m_diskSpaceLowAlertsEnabled)
        return;
    m_diskSpaceLowAlertsEnabled = value;
    store(kDiskSpaceLowAlertsEnabled, boolText(value));
    Q_EMIT diskSpaceLowAlertsEnabledChanged(value);
}

} // namespace pw
