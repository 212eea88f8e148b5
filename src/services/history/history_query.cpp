#include "services/history/history_query.h"

#include "services/history/history_columns.h"
#include "services/history/history_database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pw {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

qint64 toMs(double seconds) {
    return std::llround(seconds * 1000.0);
}

double numberOr(const QVariant& v) {
    return v.isNull() ? kNaN : v.toDouble();
}

// The rows of one table as (t, m<i>, l<i>, h<i>) for each id: a minute's
// middle and its mean, minimum and maximum, or one row's value three times.
QString rowsSql(QSqlDatabase& db, const QStringList& ids, bool minuteRows) {
    const char* table = minuteRows ? history::kMinutesTable : history::kSamplesTable;
    const QStringList present = history::tableColumns(db, table);
    auto column = [&](const QString& id, const char* part) {
        const QString name = minuteRows ? history::minuteColumn(id, part) : id;
        return present.contains(name) ? history::quoted(name) : QStringLiteral("NULL");
    };
    QString sql = minuteRows ? QStringLiteral("SELECT t + %1 AS t").arg(history::kMinuteMs / 2)
                             : QStringLiteral("SELECT t");
    for (qsizetype s = 0; s < ids.size(); ++s)
        sql += QStringLiteral(", %1 AS m%4, %2 AS l%4, %3 AS h%4")
                   .arg(column(ids[s], "mean"), column(ids[s], "min"), column(ids[s], "max"))
                   .arg(s);
    return sql + QStringLiteral(" FROM %1 WHERE t >= ? AND t < ?").arg(QLatin1String(table));
}

} // namespace

bool isHistoryGap(const HistoryPoint& a, const HistoryPoint& b, double rowSeconds) {
    return b.bucket - a.bucket > 1 && b.timeSeconds - a.timeSeconds > 2.0 * rowSeconds;
}

HistoryQuery::HistoryQuery(const QString& storePath) {
    m_exists = QFileInfo(storePath).isFile();
    if (!m_exists) {
        m_error = QStringLiteral("no history store at %1").arg(storePath);
        return;
    }
    auto connection = std::make_unique<history::StoreConnection>(storePath);
    if (auto error = connection->open()) {
        m_error = error->text;
        return;
    }
    m_connection = std::move(connection);
}

HistoryQuery::~HistoryQuery() = default;

HistoryChartData HistoryQuery::chart(const QStringList& ids, double fromSeconds, double toSeconds,
                                     int buckets) {
    HistoryChartData data;
    data.fromSeconds = fromSeconds;
    data.toSeconds = toSeconds;
    for (const QString& id : ids)
        data.series.push_back({id, {}});
    if (!m_connection || !(toSeconds > fromSeconds))
        return data;

    const double span = toSeconds - fromSeconds;
    const bool minutes =
        span / std::max(buckets, 1) >= 60.0 || span > history::kFullRateKeepMs / 1000.0;
    data.rowSeconds = minutes ? 60.0 : 1.0;
    const qint64 from = toMs(fromSeconds);
    const qint64 width =
        std::max<qint64>(minutes ? history::kMinuteMs : 1000,
                         static_cast<qint64>(std::ceil(span * 1000.0 / std::max(buckets, 1))));

    // Minute rows, then the full-rate rows not folded into a minute yet, so
    // the long ranges reach up to now.
    QSqlDatabase& db = m_connection->db();
    struct Part {
        QString sql;
        qint64 from;
    };
    std::vector<Part> parts{{rowsSql(db, ids, false), from}};
    if (minutes) {
        // One bound, so the full-rate rows are read from there on only.
        QSqlQuery folded(db);
        if (folded.exec(QStringLiteral("SELECT MAX(t) FROM minutes")) && folded.next() &&
            !folded.value(0).isNull())
            parts[0].from = std::max(from, folded.value(0).toLongLong() + history::kMinuteMs);
        parts.insert(parts.begin(), {rowsSql(db, ids, true), from});
    }
    QStringList selects;
    for (const Part& part : parts)
        selects << part.sql;
    QString sql = QStringLiteral("SELECT (t - ?) / ? AS b, AVG(t)");
    for (qsizetype s = 0; s < ids.size(); ++s)
        sql += QStringLiteral(", AVG(m%1), MIN(l%1), MAX(h%1)").arg(s);
    sql += QStringLiteral(" FROM (%1) GROUP BY b ORDER BY b")
               .arg(selects.join(QStringLiteral(" UNION ALL ")));

    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(sql);
    query.addBindValue(from);
    query.addBindValue(width);
    for (const Part& part : parts) {
        query.addBindValue(part.from);
        query.addBindValue(toMs(toSeconds));
    }
    if (!query.exec()) {
        m_error = query.lastError().text();
        return data;
    }
    while (query.next()) {
        const qint64 bucket = query.value(0).toLongLong();
        const double time = query.value(1).toDouble() / 1000.0;
        for (int s = 0; s < ids.size(); ++s) {
            const int c = 2 + 3 * s;
            data.series[static_cast<std::size_t>(s)].points.push_back(
                {time, bucket, numberOr(query.value(c)), numberOr(query.value(c + 1)),
                 numberOr(query.value(c + 2))});
        }
    }
    return data;
}

bool HistoryQuery::forEachRow(double fromSeconds, double toSeconds, bool minuteRows,
                              const RowVisitor& visit) {
    if (!m_connection)
        return false;
    const char* table = minuteRows ? history::kMinutesTable : history::kSamplesTable;
    const QStringList present = history::tableColumns(m_connection->db(), table);
    QString sql = QStringLiteral("SELECT t");
    for (const HistoryColumn& c : historyColumns()) {
        const QString name = minuteRows ? history::minuteColumn(c.name, "mean") : c.name;
        sql += QStringLiteral(", ") +
               (present.contains(name) ? history::quoted(name) : QStringLiteral("NULL"));
    }
    sql += QStringLiteral(" FROM %1 WHERE t >= ? AND t < ? ORDER BY t").arg(QLatin1String(table));

    QSqlQuery query(m_connection->db());
    query.setForwardOnly(true);
    query.prepare(sql);
    query.addBindValue(toMs(fromSeconds));
    query.addBindValue(toMs(toSeconds));
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    std::vector<double> values(historyColumns().size());
    while (query.next()) {
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = numberOr(query.value(static_cast<int>(i + 1)));
        visit(query.value(0).toLongLong(), values);
    }
    if (query.lastError().isValid()) {
        m_error = query.lastError().text();
        return false;
    }
    return true;
}

} // namespace pw
