#include "services/history/row_insert.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>

namespace pw::history {

RowInsert::~RowInsert() {
    finish();
}

void RowInsert::finish() {
    sqlite3_finalize(m_statement); // a no-op on null
    m_statement = nullptr;
    m_db = nullptr;
}

std::optional<StoreError> RowInsert::failure(int code) const {
    return storeErrorFromCode(
        code, QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code)));
}

std::optional<StoreError> RowInsert::prepare(QSqlDatabase& db, const QString& sql, int valueCount) {
    finish();
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0 ||
        !*static_cast<sqlite3* const*>(handle.constData()))
        return StoreError{StoreError::Kind::CannotWrite,
                          QStringLiteral("the store's connection is not an SQLite one")};
    m_db = *static_cast<sqlite3* const*>(handle.constData());
    const QByteArray text = sql.toUtf8();
    const int code =
        sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_statement, nullptr);
    if (code != SQLITE_OK) {
        auto error = failure(code);
        finish();
        return error;
    }
    m_valueCount = valueCount;
    return std::nullopt;
}

std::optional<StoreError> RowInsert::insert(qint64 timeMs, const std::vector<double>& values) {
    if (!m_statement)
        return StoreError{StoreError::Kind::CannotWrite, QStringLiteral("the store is not open")};
    sqlite3_bind_int64(m_statement, 1, timeMs);
    for (int i = 0; i < m_valueCount; ++i) {
        const double v = std::size_t(i) < values.size() ? values[std::size_t(i)] : NAN;
        if (std::isnan(v))
            sqlite3_bind_null(m_statement, i + 2);
        else
            sqlite3_bind_double(m_statement, i + 2, v);
    }
    const int code = sqlite3_step(m_statement);
    std::optional<StoreError> error = code == SQLITE_DONE ? std::nullopt : failure(code);
    sqlite3_reset(m_statement);
    return error;
}

} // namespace pw::history
