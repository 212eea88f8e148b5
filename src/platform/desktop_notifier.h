#pragma once

#include <QString>

namespace pw::platform {

struct DesktopNotification {
    QString requestId; // a later notification with the same id replaces the earlier one
    QString title;
    QString body;
    bool playSound = true;
};

// Posts a notification to the desktop without waiting for it to be shown.
// Delivery failures are the notifier's own business; callers never learn of them.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    virtual void post(const DesktopNotification& notification) = 0;
};

} // namespace pw::platform
