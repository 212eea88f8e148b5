#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace pw {

namespace history {
class StoreConnection;
}

// One point of a chart: the rows of one bucket of time, folded.
struct HistoryPoint {
    double timeSeconds = 0.0; // the mean time of the rows in the bucket
    qint64 bucket = 0;        // buckets count from the chart's start
    double mean = 0.0;        // NaN when the figure was unknown all through
    double low = 0.0;
    double high = 0.0;
};

struct HistorySeries {
    QString id;
    std::vector<HistoryPoint> points;
};

struct HistoryChartData {
    double fromSeconds = 0.0;
    double toSeconds = 0.0;
    double rowSeconds = 1.0; // 1 for full-rate rows, 60 for minute rows
    std::vector<HistorySeries> series;
};

// Whether a line from `a` to `b` would cross time with no rows: a bucket
// between them is empty and more than two rows' time passed.
bool isHistoryGap(const HistoryPoint& a, const HistoryPoint& b, double rowSeconds);

// Reads the store with a connection of the calling thread's own; any number of
// readers may read while the writer writes. A missing file is not created.
class HistoryQuery {
public:
    explicit HistoryQuery(const QString& storePath);
    ~HistoryQuery();
    HistoryQuery(const HistoryQuery&) = delete;
    HistoryQuery& operator=(const HistoryQuery&) = delete;

    bool storeExists() const { return m_exists; }
    bool isOpen() const { return m_connection != nullptr; }
    QString error() const { return m_error; }

    // The figures over [from, to) in at most `buckets` points each, from the
    // full-rate rows while a bucket is under a minute and the range within a
    // day, else from the minute rows.
    HistoryChartData chart(const QStringList& ids, double fromSeconds, double toSeconds,
                           int buckets);

    // Every row of [from, to), oldest first, with one value per history
    // column (NaN when unknown): the full-rate rows, or the minute means.
    // False (with error()) when the store could not be read.
    using RowVisitor = std::function<void(qint64 timeMs, const std::vector<double>& values)>;
    bool forEachRow(double fromSeconds, double toSeconds, bool minuteRows, const RowVisitor& visit);

private:
    bool m_exists = false;
    QString m_error;
    std::unique_ptr<history::StoreConnection> m_connection;
};

} // namespace pw
