#include "ui/cpu_tab_view.h"

#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/system_colors.h"
#include "services/system_stats_provider.h"
#include "ui/color_dot.h"
#include "ui/divider_line.h"
#include "ui/gauge_ring.h"
#include "ui/label_factory.h"
#include "ui/process_list_section.h"
#include "ui/sparkline_view.h"
#include "ui/text_styles.h"
#include "ui/view_logic.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

QHBoxLayout* paddedRow(int top = 0) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(10, top, 10, 0);
    return row;
}

} // namespace

CPUTabView::CPUTabView(SystemStatsProvider& stats, ProcessMonitor& processMonitor,
                       Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_stats(stats), m_processMonitor(processMonitor), m_preferences(preferences),
      m_header(makeLabel(QString(), systemFont(12, QFont::Medium), QColor(), this)),
      m_sparkline(new SparklineView(this)),
      m_user(makeLabel(QString(), systemFont(12, QFont::Bold), QColor(), this)),
      m_system(makeLabel(QString(), systemFont(12, QFont::Bold), QColor(), this)),
      m_processes(new ProcessListSection(this)) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(16);

    auto* header = paddedRow(10);
    header->addWidget(
        makeLabel(QStringLiteral("CPU"), systemFont(10, QFont::Bold), systemColor::blue(), this));
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
    root->addWidget(buildGpuStrip());
    root->addStretch(1);

    connect(&m_stats, &SystemStatsProvider::cpuHistoryChanged, this, &CPUTabView::refreshFigures);
    connect(&m_stats, &SystemStatsProvider::cpuUsageChanged, this, &CPUTabView::refreshFigures);
    connect(&m_stats, &SystemStatsProvider::eClusterUsageChanged, this,
            &CPUTabView::refreshFigures);
    connect(&m_stats, &SystemStatsProvider::pClusterUsageChanged, this,
            &CPUTabView::refreshFigures);
    for (auto signal :
         {&SystemStatsProvider::socTemperatureChanged, &SystemStatsProvider::cpuClockGHzChanged,
          &SystemStatsProvider::cpuUserUsageChanged, &SystemStatsProvider::cpuSystemUsageChanged})
        connect(&m_stats, signal, this, &CPUTabView::refreshFigures);
    connect(&m_stats, &SystemStatsProvider::coreUsagesChanged, this, &CPUTabView::refreshCoreRings);
    connect(&m_stats, &SystemStatsProvider::coreIsEfficiencyChanged, this,
            &CPUTabView::refreshCoreRings);
    for (auto signal :
         {&SystemStatsProvider::gpuBusyChanged, &SystemStatsProvider::gpuMemoryBusyChanged,
          &SystemStatsProvider::gpuTemperatureChanged,
          &SystemStatsProvider::gpuVramFractionChanged})
        connect(&m_stats, signal, this, &CPUTabView::refreshGpu);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &CPUTabView::refreshGpu);
    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &CPUTabView::refreshProcesses);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &CPUTabView::refreshProcesses);

    refreshFigures();
    refreshCoreRings();
    refreshGpu();
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
        QLabel* value = makeLabel(QString(), systemFont(12, QFont::Bold), QColor(), cores);
        row->addWidget(value);
        column->addLayout(row);
        return value;
    };
    m_efficiency = clusterRow(systemColor::pink(), QStringLiteral("Efficiency Cores"));
    m_performance = clusterRow(systemColor::blue(), QStringLiteral("Performance Cores"));
    return cores;
}

QWidget* CPUTabView::buildGpuStrip() {
    auto* gpu = new QWidget(this);
    auto* column = new QVBoxLayout(gpu);
    column->setContentsMargins(10, 0, 10, 0);
    auto* header = new QHBoxLayout;
    header->addWidget(
        makeLabel(QStringLiteral("GPU"), systemFont(10, QFont::Bold), systemColor::blue(), gpu));
    header->addStretch(1);
    m_frameRate = makeLabel(QString(), systemFont(10, QFont::Bold), QColor(), gpu);
    header->addWidget(m_frameRate);
    column->addLayout(header);
    auto* gauges = new QHBoxLayout;
    gauges->addStretch(1);
    for (int i = 0; i < 4; ++i) {
        auto* gauge = new GaugeRing(50, RingStyle{4.0, 0.3, Qt::FlatCap, Qt::FlatCap}, gpu);
        gauge->setColor(systemColor::blue());
        m_gpuGauges.append(gauge);
        gauges->addWidget(gauge);
    }
    gauges->addStretch(1);
    column->addLayout(gauges);
    return gpu;
}

void CPUTabView::refreshFigures() {
    m_header->setText(cpuHeaderText(m_stats.cpuClockGHz(), m_stats.socTemperature()));
    m_sparkline->setData(m_stats.cpuHistory());
    m_user->setText(formatPercent(m_stats.cpuUserUsage()));
    m_system->setText(formatPercent(m_stats.cpuSystemUsage()));
    m_efficiency->setText(formatPercent(m_stats.eClusterUsage()));
    m_performance->setText(formatPercent(m_stats.pClusterUsage()));
}

void CPUTabView::refreshCoreRings() {
    const QList<CoreRingFill> fills =
        coreRingFills(m_stats.coreUsages(), m_stats.coreIsEfficiency());
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

void CPUTabView::refreshGpu() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_frameRate->setText(gpuFrameRateText(screen ? screen->refreshRate() : 0.0));
    const QList<GaugeFigure> figures =
        pw::ui::gpuGauges(m_stats.gpuBusy(), m_stats.gpuMemoryBusy(), m_stats.gpuTemperature(),
                          m_stats.gpuVramFraction());
    for (qsizetype i = 0; i < figures.size() && i < m_gpuGauges.size(); ++i) {
        m_gpuGauges[i]->setFraction(figures[i].fraction);
        m_gpuGauges[i]->setText(figures[i].text, systemFont(12, QFont::Bold));
    }
}

void CPUTabView::refreshProcesses() {
    m_processes->setProcesses(
        m_processMonitor.topProcesses(), m_preferences.showFullProcessPath(),
        [](const ProcessInfoData& process) { return cpuProcessValueText(process.cpuUsage); });
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
QString CPUTabView::frameRateText() const {
    return m_frameRate->text();
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
