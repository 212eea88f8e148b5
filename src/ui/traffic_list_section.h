#pragma once

#include "services/process_info_data.h"
#include "ui/view_logic.h"

#include <QList>
#include <QWidget>

#include <functional>

namespace pw::ui {

class ProcessTrafficRow;

// A process header row over up to four rows with two figure columns each
// (disk and network tabs).
class TrafficListSection : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRowCount = 4;
    using Figures = std::function<TrafficFigures(const ProcessInfoData&)>;

    // `header` is the row above the processes; `figureWidth` the columns' width.
    TrafficListSection(QWidget* header, int figureWidth, QWidget* parent = nullptr);

    void setProcesses(const QList<ProcessInfoData>& processes, bool showFullProcessPath,
                      const Figures& figures);

    QList<ProcessTrafficRow*> visibleRows() const;

private:
    QList<ProcessTrafficRow*> m_rows;
};

} // namespace pw::ui
