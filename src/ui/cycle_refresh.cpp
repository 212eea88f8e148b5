#include "ui/cycle_refresh.h"

#include "services/system_stats_provider.h"

#include <QEvent>
#include <QWidget>

namespace pw::ui {

CycleRefresh::CycleRefresh(const SystemStatsProvider& stats, std::function<void()> refresh,
                           QObject* view, std::initializer_list<Reading> readings)
    : QObject(view), m_demand(stats.demand()), m_refresh(std::move(refresh)), m_readings(readings) {
    connect(&stats, &SystemStatsProvider::cycleFinished, this, &CycleRefresh::onCycle);
    if (view)
        view->installEventFilter(this);
    if (auto* widget = qobject_cast<QWidget*>(view); widget && widget->isVisible())
        m_hold = DemandHold(m_demand, m_readings);
    run();
}

bool CycleRefresh::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parent())
        return false;
    if (event->type() == QEvent::Hide) {
        m_hold.release();
    } else if (event->type() == QEvent::Show && !m_hold.held()) {
        // Holding first: a reading nobody took yet is taken now, so the
        // view appears with fresh figures rather than a second later.
        m_hold = DemandHold(m_demand, m_readings);
        run();
    }
    return false;
}

void CycleRefresh::onCycle() {
    auto* widget = qobject_cast<QWidget*>(parent());
    if (m_demand.readsOnlyWhatIsWatched() && widget && !widget->isVisible())
        return;
    run();
}

void CycleRefresh::run() {
    ++m_count;
    m_refresh();
}

} // namespace pw::ui
