#pragma once

#include "services/process_info_data.h"

#include <QList>
#include <QWidget>

#include <functional>

namespace pw::ui {

class ProcessRow;

// "PROCESSES" over up to four process rows (CPU and memory tabs).
class ProcessListSection : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRowCount = 4;
    using ValueText = std::function<QString(const ProcessInfoData&)>;

    explicit ProcessListSection(QWidget* parent = nullptr);

    // Shows the first four processes, by name or by full path; `value` gives
    // each row's figure.
    void setProcesses(const QList<ProcessInfoData>& processes, bool showFullProcessPath,
                      const ValueText& value);

    // The rows shown now, top to bottom.
    QList<ProcessRow*> visibleRows() const;

private:
    QList<ProcessRow*> m_rows;
};

} // namespace pw::ui
