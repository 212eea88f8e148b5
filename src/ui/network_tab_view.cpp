#include "ui/network_tab_view.h"

#include "services/network/network_details_monitor.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/stats_models.h"
#include "services/system_colors.h"
#include "services/system_stats_provider.h"
#include "ui/color_dot.h"
#include "ui/cycle_refresh.h"
#include "ui/divider_line.h"
#include "ui/format/figure_format.h"
#include "ui/label_factory.h"
#include "ui/sparkline_view.h"
#include "ui/symbol_icon.h"
#include "ui/text_styles.h"
#include "ui/traffic_list_section.h"
#include "ui/view_logic.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

int figureColumnWidth() {
    const QFontMetrics metrics(systemFont(12, QFont::DemiBold, true));
    return metrics.horizontalAdvance(QStringLiteral("50 K")) + 6;
}

QWidget* rateColumn(QLabel* rate, const QColor& dotColor, const QString& label, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    rate->setParent(column);
    layout->addWidget(rate, 0, Qt::AlignHCenter);
    auto* caption = new QHBoxLayout;
    caption->addWidget(new ColorDot(dotColor, 6, column), 0, Qt::AlignVCenter);
    caption->addWidget(makeLabel(label, systemFont(10, QFont::Medium), QColor(), column));
    layout->addLayout(caption);
    layout->setAlignment(caption, Qt::AlignHCenter);
    return column;
}

} // namespace

NetworkTabView::NetworkTabView(const StatsModels& models, ProcessMonitor& processMonitor,
                               Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_stats(models.stats), m_network(models.network),
      m_processMonitor(processMonitor), m_preferences(preferences) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(16);
    root->addWidget(buildRates());

    auto* history = new QHBoxLayout;
    history->setContentsMargins(10, 0, 10, 0);
    m_sparkline = new SparklineView(this);
    m_sparkline->setColor(systemColor::pink());
    m_sparkline->setFixedHeight(40);
    history->addWidget(m_sparkline);
    root->addLayout(history);

    root->addWidget(buildAddresses());
    root->addWidget(new DividerLine(Qt::Horizontal, this));

    const int width = figureColumnWidth();
    auto* header = new QWidget;
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->addWidget(makeSectionHeading(QStringLiteral("PROCESSES"), header));
    headerRow->addStretch(1);
    for (const auto* symbol : {"arrow.up", "arrow.down"}) {
        auto* arrow =
            new SymbolIcon(QString::fromLatin1(symbol), systemColor::primaryLabel(), 12, header);
        arrow->setFixedSize(width, 14);
        headerRow->addWidget(arrow);
    }
    m_processes = new TrafficListSection(header, width, this);
    root->addWidget(m_processes);
    root->addStretch(1);

    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &NetworkTabView::refreshProcesses);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &NetworkTabView::refreshProcesses);
    new CycleRefresh(m_stats, [this] { refresh(); }, this, {Reading::Processes, Reading::Route});
    refreshProcesses();
}

QWidget* NetworkTabView::buildRates() {
    auto* section = new QWidget(this);
    auto* row = new QHBoxLayout(section);
    row->setContentsMargins(20, 10, 20, 0);
    m_upload = makeLabel(QString(), roundedFont(20, QFont::DemiBold));
    m_download = makeLabel(QString(), roundedFont(20, QFont::DemiBold));
    row->addWidget(rateColumn(m_upload, systemColor::pink(), QStringLiteral("Upload"), section));
    row->addStretch(1);
    row->addWidget(
        rateColumn(m_download, systemColor::blue(), QStringLiteral("Download"), section));
    return section;
}

QWidget* NetworkTabView::buildAddresses() {
    auto* section = new QWidget(this);
    auto* column = new QVBoxLayout(section);
    column->setContentsMargins(10, 0, 10, 0);
    column->setSpacing(10);

    auto* interfaceRow = new QHBoxLayout;
    m_interfaceSymbol = new SymbolIcon(QStringLiteral("wifi"), systemColor::blue(), 16, section);
    interfaceRow->addWidget(m_interfaceSymbol);
    m_interface = makeLabel(QString(), systemFont(12, QFont::Bold), QColor(), section);
    interfaceRow->addWidget(m_interface);
    interfaceRow->addStretch(1);
    column->addLayout(interfaceRow);
    column->addWidget(new DividerLine(Qt::Horizontal, section));
    column->addWidget(makeSectionHeading(QStringLiteral("PUBLIC IP ADDRESSES"), section));

    // Finding the public address means asking an outside service, which
    // Pulsewick never does.
    const QFont addressFont = systemFont(12, QFont::Medium, true);
    auto* publicRow = new QHBoxLayout;
    m_publicAddress = makeLabel(dash(), addressFont, QColor(), section);
    publicRow->addWidget(m_publicAddress);
    publicRow->addStretch(1);
    column->addLayout(publicRow);

    QLabel* localHeading = makeSectionHeading(QStringLiteral("IP ADDRESSES"), section);
    localHeading->setContentsMargins(0, 4, 0, 0);
    column->addWidget(localHeading);
    m_localAddress = makeLabel(QString(), addressFont, QColor(), section);
    column->addWidget(m_localAddress);
    return section;
}

void NetworkTabView::refresh() {
    m_upload->setText(fixedText(m_stats.networkUpload(), 1, u" KB/s"));
    m_download->setText(fixedText(m_stats.networkDownload(), 1, u" KB/s"));
    const QList<double>& history = m_network.networkHistory();
    m_sparkline->setScaleMaximum(rateChartScale(history));
    m_sparkline->setData(history);

    const InterfaceFigure shown = interfaceFigure(m_network);
    m_interfaceSymbol->setSymbol(shown.symbol);
    m_interface->setText(shown.text);
    m_localAddress->setText(orDash(m_network.localIPv4Address()));
}

void NetworkTabView::refreshProcesses() {
    m_processes->setProcesses(m_processMonitor.topProcesses(), m_preferences.showFullProcessPath(),
                              [](const ProcessInfoData&) {
                                  return TrafficFigures{dash(), dash()};
                              });
}

QString NetworkTabView::uploadText() const {
    return m_upload->text();
}
QString NetworkTabView::downloadText() const {
    return m_download->text();
}
QString NetworkTabView::interfaceText() const {
    return m_interface->text();
}
QString NetworkTabView::publicAddressText() const {
    return m_publicAddress->text();
}
QString NetworkTabView::localAddressText() const {
    return m_localAddress->text();
}

} // namespace pw::ui
