#pragma once

#include "services/history/history_columns.h"
#include "services/history/history_database.h"
#include "services/history/row_insert.h"

#include <QSqlQuery>

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace pw::history {

// The writing side of the store, used on one thread: opens it (setting aside a
// file that is no database), and writes batches of rows, each in one
// transaction that also folds finished minutes into the minute table and
// drops rows past their age.
class StoreSession {
public:
    using Report = std::function<void(const QString& line)>;

    // `maxPageCount` above 0 caps the file's size in pages (a full disk, for tests).
    StoreSession(QString path, Report report, int maxPageCount = 0);
    ~StoreSession();

    bool isOpen() const { return m_connection != nullptr; }
    std::optional<StoreError> open();
    void close();
    // Sets the damaged file aside (one line) and starts a new one.
    std::optional<StoreError> startAfresh(const QString& reason);

    // Adds the rows. `closing` also folds the minute in progress, as no more
    // rows of it will come from this run.
    std::optional<StoreError> write(const std::vector<HistoryRow>& rows, bool closing);

private:
    std::optional<StoreError> openOnce();
    std::optional<StoreError> foldMinutes(qint64 from, qint64 to);
    std::optional<StoreError> dropOldRows(qint64 newestMs);

    QString m_path;
    Report m_report;
    int m_maxPageCount;
    std::unique_ptr<StoreConnection> m_connection;
    RowInsert m_insert;
    std::optional<QSqlQuery> m_fold;
    std::optional<QSqlQuery> m_dropSamples;
    std::optional<QSqlQuery> m_dropMinutes;
    // Minutes from here on may hold rows not yet folded.
    qint64 m_foldFrom = std::numeric_limits<qint64>::max();
    qint64 m_newestMs = std::numeric_limits<qint64>::min();
};

} // namespace pw::history
