#include "ui/disk_tab_view.h"

#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/stats_models.h"
#include "services/storage/storage_monitor.h"
#include "services/system_colors.h"
#include "ui/color_dot.h"
#include "ui/cycle_refresh.h"
#include "ui/divider_line.h"
#include "ui/format/figure_format.h"
#include "ui/gauge_ring.h"
#include "ui/label_factory.h"
#include "ui/process_traffic_row.h"
#include "ui/text_styles.h"
#include "ui/traffic_list_section.h"
#include "ui/view_logic.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

QWidget* rateColumn(QLabel*& rate, const QColor& dotColor, const QString& label, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    rate = makeLabel(QString(), roundedFont(20, QFont::DemiBold), QColor(), column);
    layout->addWidget(rate, 0, Qt::AlignHCenter);
    auto* caption = new QHBoxLayout;
    caption->addWidget(new ColorDot(dotColor, 6, column), 0, Qt::AlignVCenter);
    caption->addWidget(makeLabel(label, systemFont(10, QFont::Medium), QColor(), column));
    layout->addLayout(caption);
    layout->setAlignment(caption, Qt::AlignHCenter);
    return column;
}

QLabel* columnHeading(const QString& text, int width, QWidget* parent) {
    QLabel* heading = makeLabel(text, systemFont(10, QFont::Bold), QColor(), parent);
    heading->setFixedWidth(width);
    heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return heading;
}

// The pink throughput band: a plain filled rectangle for now.
class ThroughputBand : public QWidget {
public:
    explicit ThroughputBand(QWidget* parent) : QWidget(parent) {
        setFixedHeight(40);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor fill = systemColor::pink();
        fill.setAlphaF(0.5f);
        painter.fillRect(rect(), fill);
    }
};

} // namespace

int DiskTabView::figureColumnWidth() {
    // The widest figure the rows can show: four digits and a unit letter, in
    // the rows' own font (no digit is assumed narrowest).
    const QFontMetrics metrics(ProcessTrafficRow::figureFont());
    int widest = metrics.horizontalAdvance(dash());
    for (QChar digit = u'0'; digit <= u'9'; digit = QChar(digit.unicode() + 1))
        for (QChar unit : kProcessFigureUnits)
            widest = std::max(widest, metrics.horizontalAdvance(QString(4, digit) + unit));
    return std::max(30, widest + 2);
}

DiskTabView::DiskTabView(const StatsModels& models, ProcessMonitor& processMonitor,
                         Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_storage(models.storage), m_processMonitor(processMonitor),
      m_preferences(preferences) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(16);
    root->addWidget(buildVolumeHeader());
    root->addWidget(buildRates());
    root->addWidget(buildBandAndTotals());
    root->addWidget(new DividerLine(Qt::Horizontal, this));

    const int width = figureColumnWidth();
    auto* header = new QWidget;
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->addWidget(makeSectionHeading(QStringLiteral("PROCESSES"), header));
    headerRow->addStretch(1);
    headerRow->addWidget(columnHeading(QStringLiteral("R"), width, header));
    headerRow->addWidget(columnHeading(QStringLiteral("W"), width, header));
    m_processes = new TrafficListSection(header, width, this);
    root->addWidget(m_processes);
    root->addStretch(1);

    connect(&m_processMonitor, &ProcessMonitor::topProcessesChanged, this,
            &DiskTabView::refreshProcesses);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &DiskTabView::refreshProcesses);
    new CycleRefresh(models.stats, [this] { refresh(); }, this,
                     {Reading::Processes, Reading::Storage});
    refreshProcesses();
}

QWidget* DiskTabView::buildVolumeHeader() {
    auto* section = new QWidget(this);
    auto* row = new QHBoxLayout(section);
    row->setContentsMargins(10, 10, 10, 0);
    m_ring = new GaugeRing(40, RingStyle{4.0, 0.3, Qt::FlatCap, Qt::FlatCap}, section);
    m_ring->setColor(systemColor::blue());
    row->addWidget(m_ring);
    auto* names = new QVBoxLayout;
    m_volume = makeLabel(QString(), systemFont(14, QFont::DemiBold), QColor(), section);
    m_available = makeLabel(QString(), systemFont(12, QFont::Medium), QColor(), section);
    names->addWidget(m_volume);
    names->addWidget(m_available);
    row->addLayout(names);
    row->addStretch(1);
    auto* dots = new QVBoxLayout;
    dots->setSpacing(4);
    dots->addWidget(new ColorDot(systemColor::pink(), 6, section));
    dots->addWidget(new ColorDot(systemColor::blue(), 6, section));
    row->addLayout(dots);
    return section;
}

QWidget* DiskTabView::buildRates() {
    auto* section = new QWidget(this);
    auto* row = new QHBoxLayout(section);
    row->setContentsMargins(20, 0, 20, 0);
    row->addWidget(rateColumn(m_readRate, systemColor::pink(), QStringLiteral("Read"), section));
    row->addStretch(1);
    row->addWidget(rateColumn(m_writeRate, systemColor::blue(), QStringLiteral("Write"), section));
    return section;
}

QWidget* DiskTabView::buildBandAndTotals() {
    auto* section = new QWidget(this);
    auto* column = new QVBoxLayout(section);
    column->setContentsMargins(10, 0, 10, 0);
    column->setSpacing(16);
    column->addWidget(new ThroughputBand(section));
    auto* totals = new QHBoxLayout;
    m_readTotal = makeLabel(QString(), systemFont(12, QFont::Medium), QColor(), section);
    m_writeTotal = makeLabel(QString(), systemFont(12, QFont::Medium), QColor(), section);
    // These are the highest rates of the last minute, not the current ones above.
    m_peaksCaption = makeLabel(QStringLiteral("peaks, last 60 s"), textStyle::caption(),
                               systemColor::secondaryLabel(), section);
    m_peaksCaption->setObjectName(QStringLiteral("diskPeaksCaption"));
    totals->addWidget(m_readTotal);
    totals->addStretch(1);
    totals->addWidget(m_peaksCaption);
    totals->addStretch(1);
    totals->addWidget(m_writeTotal);
    column->addLayout(totals);
    return section;
}

void DiskTabView::refresh() {
    const GaugeFigure ring = diskRingFigure(m_storage.diskUsedFraction());
    m_ring->setFraction(ring.fraction);
    m_ring->setText(ring.text, systemFont(14, QFont::Bold));
    m_volume->setText(orDash(m_storage.diskVolumeName()));
    m_available->setText(diskAvailableText(m_storage.diskAvailable()));
    m_readRate->setText(byteRateText(m_storage.diskReadRate()));
    m_writeRate->setText(byteRateText(m_storage.diskWriteRate()));
    m_readTotal->setText(QStringLiteral("Read ") + byteRateText(m_storage.diskReadPeak()));
    m_writeTotal->setText(QStringLiteral("Write ") + byteRateText(m_storage.diskWritePeak()));
}

void DiskTabView::refreshProcesses() {
    m_processes->setProcesses(m_processMonitor.topProcesses(), m_preferences.showFullProcessPath(),
                              diskProcessFigures);
}

QString DiskTabView::peaksCaptionText() const {
    return m_peaksCaption->text();
}
QString DiskTabView::volumeText() const {
    return m_volume->text();
}
QString DiskTabView::availableText() const {
    return m_available->text();
}
QString DiskTabView::readRateText() const {
    return m_readRate->text();
}
QString DiskTabView::writeRateText() const {
    return m_writeRate->text();
}
QString DiskTabView::readTotalText() const {
    return m_readTotal->text();
}
QString DiskTabView::writeTotalText() const {
    return m_writeTotal->text();
}

} // namespace pw::ui
