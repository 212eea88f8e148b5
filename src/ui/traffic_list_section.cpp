#include "ui/traffic_list_section.h"

#include "ui/process_traffic_row.h"

#include <QVBoxLayout>

namespace pw::ui {

TrafficListSection::TrafficListSection(QWidget* header, int figureWidth, QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 0, 10, 0);
    column->setSpacing(6);
    header->setParent(this);
    column->addWidget(header);
    for (int i = 0; i < kRowCount; ++i) {
        auto* row = new ProcessTrafficRow(figureWidth, this);
        row->hide();
        m_rows.append(row);
        column->addWidget(row);
    }
}

void TrafficListSection::setProcesses(const QList<ProcessInfoData>& processes,
                                      bool showFullProcessPath, const Figures& figures) {
    for (int i = 0; i < kRowCount; ++i) {
        ProcessTrafficRow* row = m_rows[i];
        if (i >= processes.size()) {
            row->hide();
            continue;
        }
        const ProcessInfoData& process = processes[i];
        row->setProcess(process.icon, process.name, process.fullPath, showFullProcessPath);
        const TrafficFigures shown = figures(process);
        row->setFigures(shown.first, shown.second);
        row->show();
    }
}

QList<ProcessTrafficRow*> TrafficListSection::visibleRows() const {
    QList<ProcessTrafficRow*> rows;
    for (ProcessTrafficRow* row : m_rows) {
        if (!row->isHidden())
            rows.append(row);
    }
    return rows;
}

} // namespace pw::ui
