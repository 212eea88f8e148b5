#pragma once

#include "platform/desktop_notifier.h"

#include <optional>

namespace pw {

// The "HighCPU" notification: posted every cycle the load is strictly above
// the threshold; only the first of a spell sounds, its replacements arrive
// silently. A spell ends when the load falls back or the user silences it.
class CpuAlert {
public:
    static constexpr double kDefaultThreshold = 90.0;

    std::optional<platform::DesktopNotification> check(bool enabled, double cpuUsagePercent,
                                                       double thresholdPercent);

private:
    bool m_alerting = false; // the previous cycle posted
};

} // namespace pw
