#include "ui/history_chart_card.h"

#include "services/figures/figure_catalogue.h"
#include "services/figures/figure_output.h"
#include "services/history/history_service.h"
#include "services/system_colors.h"
#include "ui/history_chart.h"
#include "ui/segmented_button.h"

#include <QVBoxLayout>

namespace pw::ui {
namespace {

struct FigureChoice {
    const char* title;
    std::vector<const char*> ids;
};

const std::vector<FigureChoice>& choices() {
    static const std::vector<FigureChoice> all = {
        {"CPU", {"cpuUsage"}},
        {"Memory", {"memoryUsed"}},
        {"Network", {"networkDownload", "networkUpload"}},
        {"Disk", {"diskReadRate", "diskWriteRate"}},
        {"Temp", {"socTemperature"}},
        {"Power", {"powerDraw"}},
        {"GPU", {"gpuBusy"}},
    };
    return all;
}

std::vector<HistoryChartLine> linesFor(int choice) {
    const QColor colors[] = {systemColor::blue(), systemColor::green()};
    std::vector<HistoryChartLine> lines;
    const FigureChoice& c = choices()[static_cast<std::size_t>(choice)];
    for (std::size_t i = 0; i < c.ids.size(); ++i) {
        const Figure* figure = findFigure(c.ids[i]);
        const QString label = figure && !figure->label.empty()
                                  ? QString::fromUtf8(figure->label.data(),
                                                      static_cast<qsizetype>(figure->label.size()))
                                  : QString::fromLatin1(c.ids[i]);
        lines.push_back({label, colors[i % 2], [figure](double v) {
                             return figure ? figureText(*figure, FigureValue(v))
                                           : QString::number(v);
                         }});
    }
    return lines;
}

// As often as a batch is written while a point is a few seconds or minutes
// wide; once a minute for the week and the month.
int refreshMilliseconds(HistoryRange range) {
    return range == HistoryRange::Hour || range == HistoryRange::Day ? 10'000 : 60'000;
}

} // namespace

QStringList HistoryChartCard::figureTitles() {
    QStringList titles;
    for (const FigureChoice& c : choices())
        titles << QLatin1String(c.title);
    return titles;
}

QStringList HistoryChartCard::figureIds(int choice) {
    QStringList ids;
    for (const char* id : choices()[static_cast<std::size_t>(choice)].ids)
        ids << QLatin1String(id);
    return ids;
}

HistoryChartCard::HistoryChartCard(HistoryService* history, QWidget* parent)
    : QWidget(parent), m_history(history) {
    setObjectName(QStringLiteral("historyChartCard"));
    QStringList ranges;
    for (HistoryRange r : kHistoryRanges)
        ranges << historyRangeName(r);
    m_rangePicker = new SegmentedButton(ranges);
    m_rangePicker->setObjectName(QStringLiteral("historyRangePicker"));
    m_rangePicker->setCurrentIndex(1); // a day: what the page says is kept at full rate
    m_figurePicker = new SegmentedButton(figureTitles());
    m_figurePicker->setObjectName(QStringLiteral("historyFigurePicker"));
    m_chart = new HistoryChart;
    m_chart->setObjectName(QStringLiteral("historyChart"));
    m_chart->setPlaceholder(history ? QStringLiteral("Loading\u2026")
                                    : QStringLiteral("No history store"));

    // Two rows: seven figures and four ranges side by side are wider than the page.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(m_figurePicker);
    column->addWidget(m_rangePicker);
    column->addWidget(m_chart, 1);

    connect(m_rangePicker, &SegmentedButton::currentIndexChanged, this, [this] {
        m_refresh.setInterval(refreshMilliseconds(range()));
        Q_EMIT rangeChanged(range());
        reload();
    });
    connect(m_figurePicker, &SegmentedButton::currentIndexChanged, this, &HistoryChartCard::reload);
    m_refresh.setInterval(refreshMilliseconds(range()));
    connect(&m_refresh, &QTimer::timeout, this, &HistoryChartCard::reload);
    // A new width asks for as many points again, once the resizing settles.
    m_resized.setSingleShot(true);
    m_resized.setInterval(250);
    connect(&m_resized, &QTimer::timeout, this, &HistoryChartCard::reload);
}

HistoryRange HistoryChartCard::range() const {
    return kHistoryRanges[static_cast<std::size_t>(m_rangePicker->currentIndex())];
}

void HistoryChartCard::reload() {
    if (!m_history)
        return;
    const int choice = m_figurePicker->currentIndex();
    const int generation = ++m_generation;
    const int buckets = std::max(100, m_chart->width());
    m_history->loadChart(figureIds(choice), range(), buckets, this,
                         [this, generation, choice](const HistoryChartData& data) {
                             if (generation != m_generation)
                                 return; // a newer question is on its way
                             m_chart->setPlaceholder(
                                 QStringLiteral("Nothing recorded in this range yet"));
                             m_chart->setData(data, linesFor(choice));
                             Q_EMIT loaded();
                         });
}

void HistoryChartCard::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    reload();
    m_refresh.start();
}

void HistoryChartCard::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_refresh.stop();
}

void HistoryChartCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        m_resized.start();
}

} // namespace pw::ui
