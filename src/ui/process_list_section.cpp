#include "ui/process_list_section.h"

#include "services/system_colors.h"
#include "ui/label_factory.h"
#include "ui/process_row.h"
#include "ui/view_logic.h"

#include <QVBoxLayout>

namespace pw::ui {

ProcessListSection::ProcessListSection(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 0, 10, 0);
    column->setSpacing(6);
    column->addWidget(makeSectionHeading(QStringLiteral("PROCESSES"), this));
    for (int i = 0; i < kRowCount; ++i) {
        auto* row = new ProcessRow(QStringLiteral("app.fill"), QIcon(), QString(), QString(),
                                   systemColor::white(), this);
        row->hide();
        m_rows.append(row);
        column->addWidget(row);
    }
}

void ProcessListSection::setProcesses(const QList<ProcessInfoData>& processes,
                                      bool showFullProcessPath, const ValueText& value) {
    for (int i = 0; i < kRowCount; ++i) {
        ProcessRow* row = m_rows[i];
        if (i >= processes.size()) {
            row->hide();
            continue;
        }
        const ProcessInfoData& process = processes[i];
        row->setImage(process.icon);
        row->setName(processDisplayText(process.name, process.fullPath, showFullProcessPath));
        row->setValue(value(process));
        row->show();
    }
}

QList<ProcessRow*> ProcessListSection::visibleRows() const {
    QList<ProcessRow*> rows;
    for (ProcessRow* row : m_rows) {
        if (!row->isHidden())
            rows.append(row);
    }
    return rows;
}

} // namespace pw::ui
