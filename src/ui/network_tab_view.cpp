#include "ui/network_tab_view.h"

#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/system_colors.h"
#include "services/system_stats_provider.h"
#include "ui/color_dot.h"
#include "ui/divider_line.h"
#include "ui/label_factory.h"
#include "ui/sparkline_view.h"
#include "ui/symbol_icon.h"
#include "ui/text_styles.h"
#include "ui/traffic_list_section.h"
#include "ui/view_logic.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

int figureColumnWidth() {
    const QFontMetrics metrics(systemFont(12, QFont::DemiBold, true));
    return metrics.horizontalAdvance(QStringLiteral("50 K")) + 6;
}

// Without an emoji font the regional-indicator pair draws as two empty boxes;
// the letters say the same.
QString flagText(const QString& flag) {
    static const bool emojiFont = [] {
        const QStringList families = QFontDatabase::families();
        return std::any_of(families.begin(), families.end(), [](const QString& family) {
            return family.contains(QStringLiteral("Emoji"), Qt::CaseInsensitive);
        });
    }();
    return emojiFont ? flag : QStringLiteral("US");
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

NetworkTabView::NetworkTabView(SystemStatsProvider& stats, ProcessMonitor& processMonitor,
                               Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_stats(stats), m_processMonitor(processMonitor),
      m_preferences(preferences) {
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

    connect(&m_stats, &SystemStatsProvider::networkUploadChanged, this,
            &NetworkTabView::refreshFigures);
    connect(&m_stats, &SystemStatsProvider::networkDownloadChanged, this,
            &NetworkTabView::refreshFigures);
    connect(&m_stats, &SystemStatsProvider::cpuHistoryChanged, this,
            &NetworkTabView::refreshFigures);
    // The per-process figures are placeholders drawn anew on every redraw.
    connect(&m_stats, &SystemStatsProvider::cycleFinished, this, &NetworkTabView::refreshProcesses);
    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &NetworkTabView::refreshProcesses);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &NetworkTabView::refreshProcesses);
    refreshFigures();
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
    const AddressPlaceholder addresses = addressPlaceholder();
    auto* section = new QWidget(this);
    auto* column = new QVBoxLayout(section);
    column->setContentsMargins(10, 0, 10, 0);
    column->setSpacing(10);

    auto* interfaceRow = new QHBoxLayout;
    interfaceRow->addWidget(
        new SymbolIcon(QStringLiteral("wifi"), systemColor::blue(), 16, section));
    interfaceRow->addWidget(
        makeLabel(addresses.interfaceName, systemFont(12, QFont::Bold), QColor(), section));
    interfaceRow->addStretch(1);
    column->addLayout(interfaceRow);
    column->addWidget(new DividerLine(Qt::Horizontal, section));
    column->addWidget(makeSectionHeading(QStringLiteral("PUBLIC IP ADDRESSES"), section));

    const QFont addressFont = systemFont(12, QFont::Medium, true);
    auto* publicRow = new QHBoxLayout;
    publicRow->addWidget(makeLabel(addresses.publicAddress, addressFont, QColor(), section));
    publicRow->addStretch(1);
    publicRow->addWidget(makeLabel(flagText(addresses.publicFlag), font(), QColor(), section));
    column->addLayout(publicRow);

    QLabel* localHeading = makeSectionHeading(QStringLiteral("IP ADDRESSES"), section);
    localHeading->setContentsMargins(0, 4, 0, 0);
    column->addWidget(localHeading);
    column->addWidget(makeLabel(addresses.localAddress, addressFont, QColor(), section));
    return section;
}

void NetworkTabView::refreshFigures() {
    m_upload->setText(formatKilobytesPerSecond(m_stats.networkUpload()));
    m_download->setText(formatKilobytesPerSecond(m_stats.networkDownload()));
    m_sparkline->setData(m_stats.cpuHistory());
}

void NetworkTabView::refreshProcesses() {
    m_processes->setProcesses(
        m_processMonitor.topProcesses(), m_preferences.showFullProcessPath(),
        [] { return networkProcessPlaceholder(*QRandomGenerator::global()); });
}

QString NetworkTabView::uploadText() const {
    return m_upload->text();
}
QString NetworkTabView::downloadText() const {
    return m_download->text();
}

} // namespace pw::ui
