#include "services/history/history_database.h"

#include "services/history/history_columns.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace pw::history {
namespace {

// SQLite's primary result codes for a damaged file and for one that is not a
// database at all.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

std::optional<StoreError> run(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        return storeError(query.lastError());
    return std::nullopt;
}

std::optional<StoreError> createTable(QSqlDatabase& db, const char* table,
                                      const QStringList& columns) {
    const QString name = QLatin1String(table);
    QString sql = QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (t INTEGER PRIMARY KEY").arg(name);
    for (const QString& c : columns)
        sql += QStringLiteral(", %1 REAL").arg(quoted(c));
    if (auto error = run(db, sql + QLatin1Char(')')))
        return error;
    const QStringList present = tableColumns(db, table);
    for (const QString& c : columns)
        if (!present.contains(c))
            if (auto error = run(
                    db, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 REAL").arg(name, quoted(c))))
                return error;
    return std::nullopt;
}

} // namespace

StoreError storeErrorFromCode(int code, const QString& text) {
    const int primary = code & 0xff;
    const bool corrupt = primary == kSqliteCorrupt || primary == kSqliteNotADatabase;
    return {corrupt ? StoreError::Kind::Corrupt : StoreError::Kind::CannotWrite, text};
}

StoreError storeError(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    QString text = error.driverText();
    if (!error.databaseText().isEmpty())
        text = error.databaseText();
    if (!ok)
        return {StoreError::Kind::CannotWrite, text};
    return storeErrorFromCode(code, text);
}

StoreConnection::StoreConnection(const QString& path) {
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("pulsewick-history-%1").arg(counter++);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    // A reader waits out the moment a writer holds the file, rather than failing.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
}

StoreConnection::~StoreConnection() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

std::optional<StoreError> StoreConnection::open() {
    if (!m_db.isValid())
        return StoreError{StoreError::Kind::CannotWrite,
                          QStringLiteral("the SQLite driver of Qt is not installed")};
    if (!m_db.open())
        return storeError(m_db.lastError());
    return std::nullopt;
}

std::optional<StoreError> prepareStore(QSqlDatabase& db) {
    {
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("PRAGMA quick_check")))
            return storeError(check.lastError());
        if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
            return StoreError{StoreError::Kind::Corrupt,
                              check.value(0).toString().section(QLatin1Char('\n'), 0, 0)};
    }
    // The log keeps readers and the writer out of each other's way; a commit
    // then survives a crash of the program without a sync to disk.
    for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"})
        if (auto error = run(db, QLatin1String(pragma)))
            return error;

    QStringList samples, minutes;
    for (const HistoryColumn& c : historyColumns()) {
        samples << c.name;
        for (const char* part : kMinuteParts)
            minutes << minuteColumn(c.name, part);
    }
    if (auto error = createTable(db, kSamplesTable, samples))
        return error;
    return createTable(db, kMinutesTable, minutes);
}

QStringList tableColumns(QSqlDatabase& db, const char* table) {
    QStringList columns;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(table))))
        return columns;
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

QString minuteColumn(const QString& id, const char* part) {
    return id + QLatin1Char('_') + QLatin1String(part);
}

QString quoted(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

std::optional<QString> moveStoreAside(const QString& path, const QString& when, QString* error) {
    QString aside = path + QStringLiteral(".corrupt-") + when;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = path + QStringLiteral(".corrupt-%1-%2").arg(when).arg(n);
    QFile file(path);
    if (!file.rename(aside)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    // A log left beside a new file of the old name would be replayed into it.
    QFile::rename(path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    return aside;
}

} // namespace pw::history
