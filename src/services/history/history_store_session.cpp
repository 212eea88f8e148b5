#include "services/history/history_store_session.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QVariant>

#include <cmath>

namespace pw::history {
namespace {

qint64 minuteOf(qint64 ms) {
    return ms - ((ms % kMinuteMs) + kMinuteMs) % kMinuteMs;
}

QString insertSql() {
    QString names = QStringLiteral("t");
    QString marks = QStringLiteral("?");
    for (const HistoryColumn& c : historyColumns()) {
        names += QLatin1Char(',') + quoted(c.name);
        marks += QStringLiteral(",?");
    }
    return QStringLiteral("INSERT OR REPLACE INTO %1 (%2) VALUES (%3)")
        .arg(QLatin1String(kSamplesTable), names, marks);
}

// Minimum, mean and maximum of the known values of each minute; a figure
// unknown all minute long stays NULL.
QString foldSql() {
    QString names = QStringLiteral("t");
    QString values = QStringLiteral("(t / %1) * %1 AS m").arg(kMinuteMs);
    for (const HistoryColumn& c : historyColumns()) {
        const QString column = quoted(c.name);
        for (const char* part : kMinuteParts)
            names += QLatin1Char(',') + quoted(minuteColumn(c.name, part));
        values += QStringLiteral(",MIN(%1),AVG(%1),MAX(%1)").arg(column);
    }
    return QStringLiteral("INSERT OR REPLACE INTO %1 (%2) SELECT %3 FROM %4"
                          " WHERE t >= ? AND t < ? GROUP BY m")
        .arg(QLatin1String(kMinutesTable), names, values, QLatin1String(kSamplesTable));
}

std::optional<qint64> single(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (query.exec(sql) && query.next() && !query.value(0).isNull())
        return query.value(0).toLongLong();
    return std::nullopt;
}

} // namespace

StoreSession::StoreSession(QString path, Report report, int maxPageCount)
    : m_path(std::move(path)), m_report(std::move(report)), m_maxPageCount(maxPageCount) {}

StoreSession::~StoreSession() {
    close();
}

void StoreSession::close() {
    m_insert.finish();
    m_fold.reset();
    m_dropSamples.reset();
    m_dropMinutes.reset();
    m_connection.reset();
}

std::optional<StoreError> StoreSession::open() {
    std::optional<StoreError> error = openOnce();
    if (error && error->kind == StoreError::Kind::Corrupt)
        return startAfresh(error->text);
    return error;
}

std::optional<StoreError> StoreSession::startAfresh(const QString& reason) {
    close();
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString why;
    const std::optional<QString> aside = moveStoreAside(m_path, when, &why);
    if (!aside)
        return StoreError{StoreError::Kind::CannotWrite,
                          QStringLiteral("cannot set aside the damaged store: %1").arg(why)};
    m_report(QStringLiteral("History: %1 could not be read (%2); moved it to %3 and started a "
                            "new store")
                 .arg(m_path, reason, *aside));
    std::optional<StoreError> error = openOnce();
    if (error && error->kind == StoreError::Kind::Corrupt)
        error->kind = StoreError::Kind::CannotWrite; // a new file is never set aside again
    return error;
}

std::optional<StoreError> StoreSession::openOnce() {
    close();
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return StoreError{StoreError::Kind::CannotWrite,
                          QStringLiteral("cannot create the folder %1").arg(folder)};
    auto connection = std::make_unique<StoreConnection>(m_path);
    if (auto error = connection->open())
        return error;
    QSqlDatabase& db = connection->db();
    if (auto error = prepareStore(db))
        return error;
    if (m_maxPageCount > 0)
        QSqlQuery(db).exec(QStringLiteral("PRAGMA max_page_count=%1").arg(m_maxPageCount));

    m_fold.emplace(db);
    if (auto error = m_insert.prepare(db, insertSql(), int(historyColumns().size())))
        return error;
    if (!m_fold->prepare(foldSql()))
        return storeError(m_fold->lastError());
    // Every batch drops what has aged out; the statements are made once.
    for (auto [query, table] :
         {std::pair{&m_dropSamples, kSamplesTable}, std::pair{&m_dropMinutes, kMinutesTable}}) {
        query->emplace(db);
        if (!(*query)->prepare(
                QStringLiteral("DELETE FROM %1 WHERE t < ?").arg(QLatin1String(table))))
            return storeError((*query)->lastError());
    }
    // Rows after the last folded minute (a run that was killed) are folded
    // with the next batch.
    if (const auto last = single(db, QStringLiteral("SELECT MAX(t) FROM minutes")))
        m_foldFrom = *last + kMinuteMs;
    else if (const auto first = single(db, QStringLiteral("SELECT MIN(t) FROM samples")))
        m_foldFrom = minuteOf(*first);
    if (const auto newest = single(db, QStringLiteral("SELECT MAX(t) FROM samples")))
        m_newestMs = std::max(m_newestMs, *newest);
    m_connection = std::move(connection);
    return std::nullopt;
}

std::optional<StoreError> StoreSession::write(const std::vector<HistoryRow>& rows, bool closing) {
    if (!m_connection)
        return StoreError{StoreError::Kind::CannotWrite, QStringLiteral("the store is not open")};
    if (rows.empty() && !closing)
        return std::nullopt;
    QSqlDatabase& db = m_connection->db();
    if (!db.transaction())
        return storeError(db.lastError());
    auto fail = [&db](const QSqlError& e) {
        db.rollback();
        return storeError(e);
    };

    qint64 oldest = std::numeric_limits<qint64>::max();
    qint64 newest = m_newestMs;
    for (const HistoryRow& row : rows) {
        if (auto error = m_insert.insert(row.timeMs, row.values)) {
            db.rollback();
            return error;
        }
        oldest = std::min(oldest, row.timeMs);
        newest = std::max(newest, row.timeMs);
    }
    if (newest != std::numeric_limits<qint64>::min()) {
        const qint64 from = std::min(
            m_foldFrom, minuteOf(oldest == std::numeric_limits<qint64>::max() ? newest : oldest));
        const qint64 to = minuteOf(newest) + (closing ? kMinuteMs : 0);
        if (from < to)
            if (auto error = foldMinutes(from, to)) {
                db.rollback();
                return error;
            }
        if (auto error = dropOldRows(newest)) {
            db.rollback();
            return error;
        }
    }
    if (!db.commit())
        return fail(db.lastError());
    if (newest != std::numeric_limits<qint64>::min()) {
        m_newestMs = newest;
        m_foldFrom = minuteOf(newest) + (closing ? kMinuteMs : 0);
    }
    return std::nullopt;
}

std::optional<StoreError> StoreSession::foldMinutes(qint64 from, qint64 to) {
    m_fold->bindValue(0, from);
    m_fold->bindValue(1, to);
    if (!m_fold->exec())
        return storeError(m_fold->lastError());
    return std::nullopt;
}

std::optional<StoreError> StoreSession::dropOldRows(qint64 newestMs) {
    const auto drop = [](QSqlQuery& query, qint64 before) -> std::optional<StoreError> {
        query.bindValue(0, before);
        if (!query.exec())
            return storeError(query.lastError());
        return std::nullopt;
    };
    if (auto error = drop(*m_dropSamples, newestMs - kFullRateKeepMs))
        return error;
    return drop(*m_dropMinutes, newestMs - kMinuteKeepMs);
}

} // namespace pw::history
