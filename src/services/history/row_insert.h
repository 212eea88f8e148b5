#pragma once

#include "services/history/history_database.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pw::history {

// The insert of a cycle's row, straight through SQLite on the connection Qt
// opened: Qt's binding of some forty values costs about twice SQLite's own
// work for the row, and a row is written every second for as long as the
// program runs.
class RowInsert {
public:
    RowInsert() = default;
    ~RowInsert();
    RowInsert(const RowInsert&) = delete;
    RowInsert& operator=(const RowInsert&) = delete;

    // `sql` takes the time as ?1 and the values as ?2 onwards.
    std::optional<StoreError> prepare(QSqlDatabase& db, const QString& sql, int valueCount);
    // Values that are not a number are stored as NULL, and so are those the
    // row lacks.
    std::optional<StoreError> insert(qint64 timeMs, const std::vector<double>& values);
    // Before the connection closes.
    void finish();

private:
    std::optional<StoreError> failure(int code) const;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    int m_valueCount = 0;
};

} // namespace pw::history
