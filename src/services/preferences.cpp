#include "services/preferences.h"

#include "services/log_line.h"

#include <cmath>
#include <optional>

namespace pw {
namespace {
constexpr auto kShowFullProcessPath = "showFullProcessPath";
constexpr auto kCpuAlertThreshold = "cpuAlertThreshold";
constexpr auto kHighCpuAlertsEnabled = "highCpuAlertsEnabled";
constexpr auto kDiskSpaceLowAlertsEnabled = "diskSpaceLowAlertsEnabled";

// QSettings hands back INI values as strings; accept only what parses as the
// key's type, so a hand-edited or corrupt file falls back to the default.
std::optional<bool> readBool(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    const QString s = v.toString().trimmed().toLower();
    if (s == QLatin1String("true"))
        return true;
    if (s == QLatin1String("false"))
        return false;
    return std::nullopt;
}

std::optional<double> readDouble(const QVariant& v) {
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int)
        return v.toDouble();
    if (ok && std::isfinite(d))
        return d;
    return std::nullopt;
}
} // namespace

Preferences& Preferences::shared() {
    static Preferences* instance = new Preferences();
    return *instance;
}

Preferences::Preferences()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Pulsewick"),
                 QStringLiteral("Pulsewick")) {
    load();
}

Preferences::Preferences(const QString& iniPath, QObject* parent)
    : QObject(parent), m_settings(iniPath, QSettings::IniFormat) {
    load();
}

void Preferences::load() {
    if (m_settings.status() == QSettings::FormatError)
        logLine(QStringLiteral("Failed to read settings: %1 cannot be parsed; using defaults.")
                    .arg(m_settings.fileName()));
    if (auto v = readBool(m_settings.value(kShowFullProcessPath)))
        m_showFullProcessPath = *v;
    if (auto v = readDouble(m_settings.value(kCpuAlertThreshold)))
        m_cpuAlertThreshold = *v;
    if (auto v = readBool(m_settings.value(kHighCpuAlertsEnabled)))
        m_highCpuAlertsEnabled = *v;
    if (auto v = readBool(m_settings.value(kDiskSpaceLowAlertsEnabled)))
        m_diskSpaceLowAlertsEnabled = *v;
}

void Preferences::store(const char* key, const QVariant& value) {
    m_settings.setValue(QLatin1String(key), value);
    m_settings.sync();
    if (m_settings.status() == QSettings::AccessError)
        logLine(QStringLiteral("Failed to write settings: %1 is not writable.")
                    .arg(m_settings.fileName()));
}

void Preferences::setShowFullProcessPath(bool value) {
    if (value == m_showFullProcessPath)
        return;
    m_showFullProcessPath = value;
    store(kShowFullProcessPath, value);
    Q_EMIT showFullProcessPathChanged(value);
}

void Preferences::setCpuAlertThreshold(double value) {
    if (value == m_cpuAlertThreshold)
        return;
    m_cpuAlertThreshold = value;
    store(kCpuAlertThreshold, value);
    Q_EMIT cpuAlertThresholdChanged(value);
}

void Preferences::setHighCpuAlertsEnabled(bool value) {
    if (value == m_highCpuAlertsEnabled)
        return;
    m_highCpuAlertsEnabled = value;
    store(kHighCpuAlertsEnabled, value);
    Q_EMIT highCpuAlertsEnabledChanged(value);
}

void Preferences::setDiskSpaceLowAlertsEnabled(bool value) {
    if (value == m_diskSpaceLowAlertsEnabled)
        return;
    m_diskSpaceLowAlertsEnabled = value;
    store(kDiskSpaceLowAlertsEnabled, value);
    Q_EMIT diskSpaceLowAlertsEnabledChanged(value);
}

} // namespace pw
