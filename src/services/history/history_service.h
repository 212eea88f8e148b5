#pragma once

#include "services/history/history_query.h"
#include "services/history/history_range.h"

#include <QObject>
#include <QThreadPool>

#include <functional>
#include <optional>

namespace pw {

// The store as the views see it: charts and exports read it on a thread of
// their own, so a month of rows never holds up the window, and the answer
// comes back on the main thread.
class HistoryService : public QObject {
    Q_OBJECT
public:
    HistoryService(QString storePath, std::function<double()> wallSeconds,
                   QObject* parent = nullptr);
    ~HistoryService() override;

    const QString& storePath() const { return m_storePath; }

    // The figures over the range up to now, at most `buckets` points each.
    // `done` runs on the main thread, unless `context` is gone by then.
    void loadChart(const QStringList& ids, HistoryRange range, int buckets, QObject* context,
                   std::function<void(const HistoryChartData&)> done);

    // Writes the range to a new CSV file in the temporary folder; `done` gets
    // its path, or nothing after a "Failed to write CSV: " line.
    void exportRange(HistoryRange range, QObject* context,
                     std::function<void(const std::optional<QString>&)> done);

private:
    template <typename Result>
    void runThenDeliver(std::function<Result()> work, QObject* context,
                        std::function<void(const Result&)> done);

    QString m_storePath;
    std::function<double()> m_wallSeconds;
    QThreadPool m_pool;
};

// The temporary folder exports go to; empty when it does not exist.
QString historyExportFolder();

} // namespace pw
