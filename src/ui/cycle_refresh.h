#pragma once

#include "services/demand/demand.h"

#include <QObject>

#include <functional>
#include <initializer_list>
#include <vector>

namespace pw {
class SystemStatsProvider;
}

namespace pw::ui {

// Redraws a view from the models once per engine cycle: now, and after each
// `cycleFinished` (every model is up to date by then), however many figures
// changed. Lives as a child of the view it refreshes.
//
// While the view is on screen it holds the `readings` it shows, so they are
// taken (and taken at once when it appears). When the engine reads only what
// is watched, a hidden view is not redrawn until it shows again.
class CycleRefresh : public QObject {
    Q_OBJECT

public:
    CycleRefresh(const SystemStatsProvider& stats, std::function<void()> refresh, QObject* view,
                 std::initializer_list<Reading> readings = {});

    // How many times the view was refreshed.
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCycle();
    void run();

    Demand& m_demand;
    std::function<void()> m_refresh;
    std::vector<Reading> m_readings;
    DemandHold m_hold;
    int m_count = 0;
};

} // namespace pw::ui
