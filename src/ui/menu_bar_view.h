#pragma once

#include <QWidget>

namespace pw {
class SystemStatsProvider;
}

namespace pw::ui {

// The 70 × 22 tray readout: CPU sparkline, CPU load and chip temperature,
// redrawn once per engine cycle.
class MenuBarView : public QWidget {
    Q_OBJECT

public:
    explicit MenuBarView(const SystemStatsProvider& stats, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {70, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SystemStatsProvider& m_stats;
};

} // namespace pw::ui
