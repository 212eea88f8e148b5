#pragma once

#include "platform/desktop_notifier.h"

#include <optional>

namespace pw {

// Warns once when the free share of a volume falls below 10 %, and again only
// after it has recovered to 10 % or more and fallen once more.
class DiskSpaceAlert {
public:
    static constexpr double kLowFreeShare = 0.10;

    // The notification to post for these figures, if any. Sizes in GB; a zero
    // or negative total is an unknown volume and changes nothing. Switched off,
    // it posts nothing and forgets an earlier warning. The text names no volume
    // label: a label is anyone's text, and notification servers read markup.
    std::optional<platform::DesktopNotification> check(bool enabled, double totalGB,
                                                       double availableGB);

private:
    bool m_warned = false;
};

} // namespace pw
