#include "ui/menu_bar_view.h"

#include "services/system_stats_provider.h"
#include "ui/menu_bar_readout.h"

#include <QPainter>

namespace pw::ui {

MenuBarView::MenuBarView(SystemStatsProvider& stats, QWidget* parent)
    : QWidget(parent), m_stats(stats) {
    setFixedSize(70, 22);
    setAttribute(Qt::WA_TranslucentBackground);
    const auto redraw = [this] { update(); };
    connect(&m_stats, &SystemStatsProvider::cpuHistoryChanged, this, redraw);
    connect(&m_stats, &SystemStatsProvider::cpuUsageChanged, this, redraw);
    connect(&m_stats, &SystemStatsProvider::socTemperatureChanged, this, redraw);
}

void MenuBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintMenuBarReadout(painter, QSizeF(size()),
                        {m_stats.cpuHistory(), m_stats.cpuUsage(), m_stats.socTemperature()},
                        platformAccentColor());
}

} // namespace pw::ui
