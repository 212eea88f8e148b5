#pragma once

#include "services/history/history_range.h"

#include <QTimer>
#include <QWidget>

namespace pw {
class HistoryService;
}

namespace pw::ui {

class HistoryChart;
class SegmentedButton;

// The History page's chart: a range (1h, 24h, 7d, 30d) and a figure to show,
// read from the store off the main thread in about as many points as the
// chart is wide, and read again while the page is on show.
class HistoryChartCard : public QWidget {
    Q_OBJECT
public:
    // Without a store the chart says so and stays empty.
    explicit HistoryChartCard(HistoryService* history, QWidget* parent = nullptr);

    HistoryRange range() const;
    HistoryChart* chart() const { return m_chart; }
    SegmentedButton* rangePicker() const { return m_rangePicker; }
    SegmentedButton* figurePicker() const { return m_figurePicker; }

    // Asks the store for the chosen range and figure again.
    void reload();

    // The figure choices, in picker order, and the ids each one draws.
    static QStringList figureTitles();
    static QStringList figureIds(int choice);

Q_SIGNALS:
    void rangeChanged(pw::HistoryRange range);
    // After every answer from the store has been put on the chart.
    void loaded();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    HistoryService* m_history;
    HistoryChart* m_chart = nullptr;
    SegmentedButton* m_rangePicker = nullptr;
    SegmentedButton* m_figurePicker = nullptr;
    QTimer m_refresh;
    QTimer m_resized;
    int m_generation = 0;
};

} // namespace pw::ui
