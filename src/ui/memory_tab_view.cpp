#include "ui/memory_tab_view.h"

#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/stats_models.h"
#include "services/system_colors.h"
#include "services/system_stats_provider.h"
#include "ui/cycle_refresh.h"
#include "ui/divider_line.h"
#include "ui/format/figure_format.h"
#include "ui/label_factory.h"
#include "ui/legend_item.h"
#include "ui/process_list_section.h"
#include "ui/ring_chart.h"
#include "ui/text_styles.h"
#include "ui/view_logic.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

constexpr int kBarSteps = 1000;

QProgressBar* makeSwapBar(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, kBarSteps);
    bar->setTextVisible(false);
    // A thin linear bar, 1.5 times the usual 4-point track.
    bar->setFixedHeight(6);
    const QColor blue = systemColor::blue();
    bar->setStyleSheet(QStringLiteral("QProgressBar { background: rgba(255, 255, 255, 38);"
                                      " border: none; border-radius: 3px; }"
                                      "QProgressBar::chunk { background: rgb(%1, %2, %3);"
                                      " border-radius: 3px; }")
                           .arg(blue.red())
                           .arg(blue.green())
                           .arg(blue.blue()));
    return bar;
}

} // namespace

MemoryTabView::MemoryTabView(const StatsModels& models, ProcessMonitor& processMonitor,
                             Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_stats(models.stats), m_processMonitor(processMonitor),
      m_preferences(preferences),
      // Built at the current figures, so the rings do not sweep up from zero.
      m_pressure(new RingChart(m_stats.memoryPressure(), QStringLiteral("PRESSURE"),
                               systemColor::blue(), QString(), this)),
      m_memory(new RingChart(memoryUsedPercentage(m_stats.snapshot().memory),
                             QStringLiteral("MEMORY"), systemColor::yellow(), QString(), this)),
      m_processes(new ProcessListSection(this)),
      m_swapText(makeLabel(QString(), systemFont(10, QFont::Bold), QColor(), this)),
      m_swapBar(makeSwapBar(this)) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(16);

    auto* gauges = new QHBoxLayout;
    gauges->setContentsMargins(0, 10, 0, 0);
    gauges->setSpacing(30);
    gauges->addStretch(1);
    gauges->addWidget(m_pressure);
    gauges->addWidget(m_memory);
    gauges->addStretch(1);
    root->addLayout(gauges);

    auto* legend = new QVBoxLayout;
    legend->setContentsMargins(10, 0, 10, 0);
    legend->setSpacing(6);
    for (int i = 0; i < 4; ++i) {
        auto* item = new LegendItem(QColor(), QString(), QString(), this);
        m_legend.append(item);
        legend->addWidget(item);
    }
    root->addLayout(legend);

    root->addWidget(new DividerLine(Qt::Horizontal, this));
    root->addWidget(m_processes);
    root->addWidget(new DividerLine(Qt::Horizontal, this));

    auto* swap = new QVBoxLayout;
    swap->setContentsMargins(10, 0, 10, 0);
    swap->setSpacing(6);
    auto* swapHeader = new QHBoxLayout;
    swapHeader->addWidget(makeSectionHeading(QStringLiteral("SWAP"), this));
    swapHeader->addStretch(1);
    swapHeader->addWidget(m_swapText);
    swap->addLayout(swapHeader);
    swap->addWidget(m_swapBar);
    root->addLayout(swap);
    root->addStretch(1);

    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &MemoryTabView::refreshProcesses);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &MemoryTabView::refreshProcesses);
    new CycleRefresh(m_stats, [this] { refresh(); }, this, {Reading::Processes});
    refreshProcesses();
}

void MemoryTabView::refresh() {
    const MemoryFigures& memory = m_stats.snapshot().memory;
    m_pressure->setPercentage(memory.pressurePercent);
    m_pressure->setTitle(percentText(memory.pressurePercent));
    const double used = memoryUsedPercentage(memory);
    m_memory->setPercentage(used);
    m_memory->setTitle(percentText(used));

    const auto entries = memoryLegend(memory);
    for (int i = 0; i < m_legend.size() && i < entries.size(); ++i) {
        m_legend[i]->setColor(entries[i].color);
        m_legend[i]->setLabel(entries[i].label);
        m_legend[i]->setValue(entries[i].value);
    }

    m_swapText->setText(pw::ui::swapText(memory.swapUsedGB, memory.swapTotalGB));
    m_swapBar->setValue(
        qRound(pw::ui::swapBarFraction(memory.swapUsedGB, memory.swapTotalGB) * kBarSteps));
}

void MemoryTabView::refreshProcesses() {
    m_processes->setProcesses(
        m_processMonitor.topProcesses(), m_preferences.showFullProcessPath(),
        [](const ProcessInfoData& process) { return residentMemoryText(process.residentBytes); });
}

QString MemoryTabView::swapText() const {
    return m_swapText->text();
}
double MemoryTabView::swapBarFraction() const {
    return static_cast<double>(m_swapBar->value()) / kBarSteps;
}

} // namespace pw::ui
