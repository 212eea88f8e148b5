#include "ui/cycle_refresh.h"

#include "services/system_stats_provider.h"

namespace pw::ui {

CycleRefresh::CycleRefresh(const SystemStatsProvider& stats, std::function<void()> refresh,
                           QObject* view)
    : QObject(view), m_refresh(std::move(refresh)) {
    connect(&stats, &SystemStatsProvider::cycleFinished, this, &CycleRefresh::run);
    run();
}

void CycleRefresh::run() {
    ++m_count;
    m_refresh();
}

} // namespace pw::ui
