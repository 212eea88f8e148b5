#include "ui/bottom_app_tray.h"

#include "services/process_monitor.h"
#include "services/system_colors.h"
#include "ui/dashboard_requests.h"
#include "ui/divider_line.h"
#include "ui/symbols.h"
#include "ui/tab_bar_button.h"
#include "ui/view_logic.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

constexpr int kAppButtonCount = 5;

QToolButton* makeDashboardButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setFixedSize(32, 32);
    button->setToolTip(QStringLiteral("Open Dashboard"));
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoRaise(true);
    QColor fill = systemColor::blue();
    fill.setAlphaF(0.8f);
    button->setStyleSheet(
        QStringLiteral("QToolButton { background: rgba(%1, %2, %3, %4);"
                       " border: none; border-radius: 8px; }"
                       "QToolButton:pressed { background: rgba(%1, %2, %3, 1.0); }")
            .arg(fill.red())
            .arg(fill.green())
            .arg(fill.blue())
            .arg(fill.alphaF()));
    constexpr int symbolSize = 18;
    button->setIcon(QIcon(symbolPixmap(QStringLiteral("slider.horizontal.3"), systemColor::white(),
                                       symbolSize, button->devicePixelRatioF())));
    button->setIconSize(QSize(symbolSize, symbolSize));
    return button;
}

} // namespace

BottomAppTray::BottomAppTray(ProcessMonitor& processMonitor, QWidget* parent)
    : QWidget(parent), m_processMonitor(processMonitor), m_launcher(detachedLauncher()),
      m_dashboardButton(makeDashboardButton(this)), m_appRow(new QHBoxLayout) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 8, 0, 8);
    column->setSpacing(8);

    auto* firstRow = new QHBoxLayout;
    firstRow->setContentsMargins(12, 0, 12, 0);
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(12);
    const auto tabEntries = tabList();
    for (int i = 0; i < tabEntries.size(); ++i) {
        auto* button = new TabBarButton(tabEntries[i].symbol, i, tabEntries[i].color, this);
        connect(button, &TabBarButton::tabChosen, this, &BottomAppTray::tabChosen);
        m_tabButtons.append(button);
        tabs->addWidget(button);
    }
    firstRow->addLayout(tabs);
    firstRow->addStretch(1);
    firstRow->addWidget(new DividerLine(Qt::Vertical, this, QColor(255, 255, 255, 51), 24), 0,
                        Qt::AlignVCenter);
    firstRow->addWidget(m_dashboardButton, 0, Qt::AlignVCenter);
    connect(m_dashboardButton, &QToolButton::clicked, this,
            [] { DashboardRequests::instance().post(std::nullopt); });
    column->addLayout(firstRow);

    m_appRow->setContentsMargins(12, 0, 12, 8);
    m_appRow->setSpacing(10);
    m_appRow->addStretch(1);
    column->addLayout(m_appRow);

    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &BottomAppTray::rebuildAppButtons);
    rebuildAppButtons();
}

void BottomAppTray::setSelectedTab(int selectedTab) {
    for (TabBarButton* button : m_tabButtons)
        button->setSelectedTab(selectedTab);
}

void BottomAppTray::setLauncher(Launcher launcher) {
    m_launcher = std::move(launcher);
    rebuildAppButtons();
}

QList<AppLaunchButton*> BottomAppTray::appButtons() const {
    QList<AppLaunchButton*> buttons;
    for (int i = 0; i < m_appRow->count(); ++i) {
        if (auto* button = qobject_cast<AppLaunchButton*>(m_appRow->itemAt(i)->widget()))
            buttons.append(button);
    }
    return buttons;
}

void BottomAppTray::rebuildAppButtons() {
    const QList<ProcessInfoData>& processes = m_processMonitor.topProcesses();
    const qsizetype count = std::min<qsizetype>(processes.size(), kAppButtonCount);
    // The list comes every two seconds: as many buttons as before are given
    // their new programs rather than made again, which costs a layout pass.
    const QList<AppLaunchButton*> existing = appButtons();
    if (existing.size() == count) {
        for (qsizetype i = 0; i < count; ++i)
            existing[i]->setProcess(processes[i], m_launcher);
        return;
    }
    for (AppLaunchButton* button : existing) {
        m_appRow->removeWidget(button);
        button->deleteLater();
    }
    for (qsizetype i = 0; i < count; ++i) {
        auto* button = new AppLaunchButton(processes[i], m_launcher, this);
        m_appRow->insertWidget(static_cast<int>(i), button, 0, Qt::AlignVCenter);
    }
}

void BottomAppTray::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 16, 16);
    painter.fillPath(shape, QColor(0, 0, 0, 77));
}

} // namespace pw::ui
