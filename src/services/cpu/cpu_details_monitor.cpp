#include "services/cpu/cpu_details_monitor.h"

#include "services/engine/assign_notify.h"

namespace pw {

void CpuDetailsMonitor::apply(const Snapshot& s) {
    using M = CpuDetailsMonitor;
    assignNotify(this, m_cpuUserUsage, s.cpu.userUsagePercent, &M::cpuUserUsageChanged);
    assignNotify(this, m_cpuSystemUsage, s.cpu.systemUsagePercent, &M::cpuSystemUsageChanged);
    assignNotify(this, m_coreUsages, s.cpu.coreUsagePercent, &M::coreUsagesChanged);
    assignNotify(this, m_coreIsEfficiency, s.cpu.coreIsEfficiency, &M::coreIsEfficiencyChanged);
    assignNotify(this, m_cpuClockGHz, s.cpu.clockGHz, &M::cpuClockGHzChanged);
}

} // namespace pw
