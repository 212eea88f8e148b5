#include "ui/cpu_tab_view.h"

#include "services/cpu/cpu_details_monitor.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/stats_models.h"
#include "services/system_colors.h"
#include "services/system_stats_provider.h"
#include "ui/color_dot.h"
#include "ui/cycle_refresh.h"
#include "ui/divider_line.h"
#include "ui/format/figure_format.h"
#include "ui/gauge_ring.h"
#include "ui/gpu_strip.h"
#include "ui/label_factory.h"
#include "ui/process_list_section.h"
#include "ui/sparkline_view.h"
#include "ui/steady_label.h"
#include "ui/text_styles.h"
#include "ui/view_logic.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

QHBoxLayout* paddedRow(int top = 0) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(10, top, 10, 0);
    return row;
}

} // namespace

CPUTabView::CPUTabView(const StatsModels& models, ProcessMonitor& processMonitor,
                       Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_stats(models.stats), m_cpu(models.cpu), m_processMonitor(processMonitor),
      m_preferences(preferences),
      m_header(
          new SteadyLabel(systemFont(12, QFont::Medium), Qt::AlignRight | Qt::AlignVCenter, this)),
      m_sparkline(new SparklineView(this)),
      m_user(new SteadyLabel(systemFont(12, QFont::Bold), Qt::AlignLeft | Qt::AlignVCenter, this)),
      m_system(
          new SteadyLabel(systemFont(12, QFont::Bold), Qt::AlignLeft | Qt::AlignVCenter, this)),
      m_gpuStrip(new GpuStrip(models.gpu, this)), m_processes(new ProcessListSection(this)) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(16);

    auto* header = paddedRow(10);
    header->addWidget(makeSectionHeading(QStringLiteral("CPU"), this));
    header->addStretch(1);
    header->addWidget(m_header);
    root->addLayout(header);

    auto* history = paddedRow();
    m_sparkline->setColor(systemColor::blue());
    m_sparkline->setFixedHeight(40);
    history->addWidget(m_sparkline);
    root->addLayout(history);

    auto* split = paddedRow();
    split->addWidget(new ColorDot(systemColor::blue(), 8, this), 0, Qt::AlignVCenter);
    split->addWidget(
        makeLabel(QStringLiteral("User"), systemFont(12, QFont::Medium), QColor(), this));
    split->addWidget(m_user);
    split->addSpacing(10);
    split->addWidget(new ColorDot(systemColor::pink(), 8, this), 0, Qt::AlignVCenter);
    split->addWidget(
        makeLabel(QStringLiteral("System"), systemFont(12, QFont::Medium), QColor(), this));
    split->addWidget(m_system);
    split->addStretch(1);
    root->addLayout(split);

    root->addWidget(buildCores());
    root->addWidget(new DividerLine(Qt::Horizontal, this));
    root->addWidget(m_processes);
    root->addWidget(new DividerLine(Qt::Horizontal, this));
    root->addWidget(m_gpuStrip);
    root->addStretch(1);

    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &CPUTabView::refreshProcesses);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &CPUTabView::refreshProcesses);
    new CycleRefresh(m_stats, [this] { refresh(); }, this,
                     {Reading::Processes, Reading::CpuDetails, Reading::Gpu});
    refreshProcesses();
}

QWidget* CPUTabView::buildCores() {
    auto* cores = new QWidget(this);
    auto* column = new QVBoxLayout(cores);
    column->setContentsMargins(10, 0, 10, 0);
    column->setSpacing(8);
    m_coreRows = new QVBoxLayout;
    m_coreRows->setContentsMargins(0, 0, 0, 0);
    m_coreRows->setSpacing(8);
    column->addLayout(m_coreRows);
    auto clusterRow = [&](const QColor& color, const QString& title) {
        auto* row = new QHBoxLayout;
        row->addWidget(new ColorDot(color, 6, cores), 0, Qt::AlignVCenter);
        row->addWidget(makeLabel(title, systemFont(12, QFont::Medium), QColor(), cores));
        row->addStretch(1);
        auto* value =
            new SteadyLabel(systemFont(12, QFont::Bold), Qt::AlignRight | Qt::AlignVCenter, cores);
        row->addWidget(value);
        column->addLayout(row);
        return value;
    };
    m_efficiency = clusterRow(systemColor::pink(), QStringLiteral("Efficiency Cores"));
    m_performance = clusterRow(systemColor::blue(), QStringLiteral("Performance Cores"));
    return cores;
}

void CPUTabView::refresh() {
    m_header->setSteadyText(fixedText(m_cpu.cpuClockGHz(), 2, u" GHz") + QStringLiteral(", ") +
                            wholeText(m_stats.socTemperature(), kDegreeSign));
    m_sparkline->setData(m_stats.cpuHistory());
    m_user->setSteadyText(percentText(m_cpu.cpuUserUsage()));
    m_system->setSteadyText(percentText(m_cpu.cpuSystemUsage()));
    m_efficiency->setSteadyText(percentText(m_stats.eClusterUsage()));
    m_performance->setSteadyText(percentText(m_stats.pClusterUsage()));
    refreshCoreRings();
    m_gpuStrip->refresh();
}

void CPUTabView::refreshCoreRings() {
    const QList<CoreRingFill> fills = coreRingFills(m_cpu.coreUsages(), m_cpu.coreIsEfficiency());
    if (fills.size() != m_coreRings.size())
        rebuildCoreRings(fills.size());
    for (qsizetype i = 0; i < fills.size(); ++i) {
        m_coreRings[i]->setColor(fills[i].color);
        m_coreRings[i]->setFraction(fills[i].fraction);
    }
}

// CPUs come and go only with hotplug, so the rings are rebuilt rarely.
void CPUTabView::rebuildCoreRings(qsizetype count) {
    qDeleteAll(m_coreRings);
    m_coreRings.clear();
    while (QLayoutItem* item = m_coreRows->takeAt(0))
        delete item; // the row layouts; their rings went above
    const CoreRingGrid grid = coreRingGrid(count);
    QWidget* cores = m_coreRows->parentWidget();
    const RingStyle style{grid.lineWidth, 0.3, Qt::FlatCap, Qt::FlatCap};
    for (int inRow : grid.rows) {
        auto* row = new QHBoxLayout;
        row->setSpacing(grid.spacing);
        for (int i = 0; i < inRow; ++i) {
            auto* ring = new GaugeRing(grid.diameter, style, cores);
            m_coreRings.append(ring);
            row->addWidget(ring);
        }
        row->addStretch(1);
        m_coreRows->addLayout(row);
    }
}

void CPUTabView::refreshProcesses() {
    m_processes->setProcesses(
        m_processMonitor.topProcesses(), m_preferences.showFullProcessPath(),
        [](const ProcessInfoData& process) { return fixedText(process.cpuUsage, 1, u"%"); });
}

QString CPUTabView::headerText() const {
    return m_header->text();
}
QList<int> CPUTabView::coreRowSizes() const {
    QList<int> sizes;
    for (int i = 0; i < m_coreRows->count(); ++i) {
        if (auto* row = qobject_cast<QHBoxLayout*>(m_coreRows->itemAt(i)->layout()))
            sizes.append(row->count() - 1); // less the closing stretch
    }
    return sizes;
}
QString CPUTabView::userText() const {
    return m_user->text();
}
QString CPUTabView::systemText() const {
    return m_system->text();
}
QString CPUTabView::efficiencyText() const {
    return m_efficiency->text();
}
QString CPUTabView::performanceText() const {
    return m_performance->text();
}

} // namespace pw::ui
