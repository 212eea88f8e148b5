#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

class QSqlError;

namespace pw::history {

inline constexpr qint64 kMinuteMs = 60'000;
inline constexpr qint64 kFullRateKeepMs = 24LL * 3600 * 1000;
inline constexpr qint64 kMinuteKeepMs = 30LL * 24 * 3600 * 1000;

// The two tables: one row per cycle, and one per minute with the minimum,
// mean and maximum of each figure. Both are keyed by wall-clock milliseconds.
inline constexpr auto kSamplesTable = "samples";
inline constexpr auto kMinutesTable = "minutes";
inline constexpr const char* kMinuteParts[] = {"min", "mean", "max"};

// Why the store could not be used: a file that is no database (or a damaged
// one) is set aside; anything else (no space, no permission) is waited out.
struct StoreError {
    enum class Kind { Corrupt, CannotWrite } kind = Kind::CannotWrite;
    QString text;
};
StoreError storeError(const QSqlError& error);
// The same from SQLite's own result code (extended codes included) and message.
StoreError storeErrorFromCode(int code, const QString& text);

// A connection of the calling thread's own, under a name no other uses. SQL
// connections belong to the thread that made them; this one is closed and
// forgotten when it goes.
class StoreConnection {
public:
    explicit StoreConnection(const QString& path);
    ~StoreConnection();
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    std::optional<StoreError> open();
    QSqlDatabase& db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// Checks the file, turns on the write-ahead log, and makes the tables (adding
// the columns of figures newer than the file).
std::optional<StoreError> prepareStore(QSqlDatabase& db);

// The columns the table has; empty when it has none or cannot be read.
QStringList tableColumns(QSqlDatabase& db, const char* table);

// "cpuUsage_mean"
QString minuteColumn(const QString& id, const char* part);
// The name quoted for SQL.
QString quoted(const QString& name);

// Renames a store that cannot be read to "<path>.corrupt-<time>", with its
// log; returns the new name, or the error text.
std::optional<QString> moveStoreAside(const QString& path, const QString& when, QString* error);

} // namespace pw::history
