#pragma once

#include <QObject>

#include <functional>

namespace pw {
class SystemStatsProvider;
}

namespace pw::ui {

// Redraws a view from the models once per engine cycle: now, and after each
// `cycleFinished` (every model is up to date by then), however many figures
// changed. Lives as a child of the view it refreshes.
class CycleRefresh : public QObject {
    Q_OBJECT

public:
    CycleRefresh(const SystemStatsProvider& stats, std::function<void()> refresh, QObject* view);

    // How many times the view was refreshed.
    int count() const { return m_count; }

private:
    void run();

    std::function<void()> m_refresh;
    int m_count = 0;
};

} // namespace pw::ui
