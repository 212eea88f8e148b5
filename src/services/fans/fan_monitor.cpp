#include "services/fans/fan_monitor.h"

#include "services/engine/assign_notify.h"

namespace pw {

void FanMonitor::apply(const Snapshot& s) {
    assignNotify(this, m_fans, s.fans, &FanMonitor::fansChanged);
}

} // namespace pw
