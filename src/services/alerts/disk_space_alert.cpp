#include "services/alerts/disk_space_alert.h"

#include <algorithm>
#include <cmath>

namespace pw {

std::optional<platform::DesktopNotification> DiskSpaceAlert::check(bool enabled, double totalGB,
                                                                   double availableGB) {
    if (!enabled) {
        m_warned = false;
        return std::nullopt;
    }
    if (!(totalGB > 0.0) || !std::isfinite(availableGB))
        return std::nullopt;
    const double freeShare = availableGB / totalGB;
    if (freeShare >= kLowFreeShare) {
        m_warned = false;
        return std::nullopt;
    }
    if (m_warned)
        return std::nullopt;
    m_warned = true;
    platform::DesktopNotification alert;
    alert.requestId = QStringLiteral("DiskSpaceLow");
    alert.title = QStringLiteral("Disk Space Low");
    // Whole percent rounded down, so 9.9 % never reads as the 10 % that would be fine.
    const long long percent = static_cast<long long>(std::floor(std::max(freeShare, 0.0) * 100.0));
    alert.body = QStringLiteral("Only %1 GB (%2%) is free on the system volume.")
                     .arg(std::max(availableGB, 0.0), 0, 'f', 1)
                     .arg(percent);
    alert.playSound = true;
    return alert;
}

} // namespace pw
