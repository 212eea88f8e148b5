#include "ui/menu_bar_view.h"

#include "services/system_stats_provider.h"
#include "ui/cycle_refresh.h"
#include "ui/menu_bar_readout.h"

#include <QPainter>

namespace pw::ui {

MenuBarView::MenuBarView(const SystemStatsProvider& stats, QWidget* parent)
    : QWidget(parent), m_stats(stats) {
    setFixedSize(70, 22);
    setAttribute(Qt::WA_TranslucentBackground);
    new CycleRefresh(
        m_stats, [this] { update(); }, this);
}

void MenuBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintMenuBarReadout(painter, QSizeF(size()), readoutFigures(m_stats), platformAccentColor());
}

} // namespace pw::ui
