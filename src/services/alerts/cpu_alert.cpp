#include "services/alerts/cpu_alert.h"

#include <cmath>

namespace pw {

std::optional<platform::DesktopNotification> CpuAlert::check(bool enabled, double cpuUsagePercent,
                                                             double thresholdPercent) {
    if (!enabled || !(cpuUsagePercent > thresholdPercent)) {
        m_alerting = false;
        return std::nullopt;
    }
    const long long whole =
        std::isfinite(cpuUsagePercent) ? static_cast<long long>(std::trunc(cpuUsagePercent)) : 0;
    platform::DesktopNotification alert;
    alert.requestId = QStringLiteral("HighCPU");
    alert.title = QStringLiteral("High CPU Usage Alert");
    alert.body =
        QStringLiteral("System CPU usage is at %1%. Consider checking intensive processes.")
            .arg(whole);
    alert.playSound = !m_alerting;
    m_alerting = true;
    return alert;
}

} // namespace pw
