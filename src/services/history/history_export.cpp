#include "services/history/history_export.h"

#include "services/atomic_write.h"
#include "services/history/history_columns.h"
#include "services/history/history_query.h"
#include "services/history_csv.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace pw {
namespace {

// As the CPU history file writes it: "2026-12-05 14:37:42 +0000".
void appendTimestamp(QByteArray& out, qint64 timeMs) {
    const qint64 seconds = timeMs >= 0 ? timeMs / 1000 : -((-timeMs + 999) / 1000);
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    const QDate d = at.date();
    const QTime t = at.time();
    char text[40];
    const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d +0000", d.year(),
                                d.month(), d.day(), t.hour(), t.minute(), t.second());
    out.append(text, n);
}

} // namespace

QString historyRangeFileName(HistoryRange range, double secondsSinceEpoch) {
    return QStringLiteral("Pulsewick_History_%1_%2.csv")
        .arg(historyRangeName(range), csvNumber(secondsSinceEpoch));
}

QString historyRangeHeader() {
    QString header = QStringLiteral("Timestamp");
    for (const HistoryColumn& c : historyColumns()) {
        const QString unit = historyUnitText(c.figure->unit);
        header += QLatin1Char(',') + c.name;
        if (!unit.isEmpty())
            header += QStringLiteral(" (%1)").arg(unit);
    }
    return header;
}

HistoryExportResult exportHistoryRange(const QString& storePath, HistoryRange range, double now,
                                       const QString& folder) {
    HistoryExportResult result;
    HistoryQuery query(storePath);
    if (!query.storeExists()) {
        result.noStore = true;
        result.error = query.error();
        return result;
    }
    if (!query.isOpen()) {
        result.error = QStringLiteral("cannot read %1: %2").arg(storePath, query.error());
        return result;
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        result.error = folder.isEmpty()
                           ? QStringLiteral("the temporary folder does not exist")
                           : QStringLiteral("the folder %1 does not exist").arg(folder);
        return result;
    }

    QByteArray text = historyRangeHeader().toUtf8() + '\n';
    const double span = historyRangeSeconds(range);
    const bool minuteRows = span > 24 * 3600.0;
    const bool read = query.forEachRow(now - span, now, minuteRows,
                                       [&text](qint64 timeMs, const std::vector<double>& values) {
                                           appendTimestamp(text, timeMs);
                                           for (double v : values) {
                                               text += ',';
                                               if (!std::isnan(v))
                                                   text += csvNumber(v).toLatin1();
                                           }
                                           text += '\n';
                                       });
    if (!read) {
        result.error = QStringLiteral("cannot read %1: %2").arg(storePath, query.error());
        return result;
    }
    const QString path = QDir(folder).filePath(historyRangeFileName(range, now));
    if (const std::optional<QString> error = writeFileAtomically(path, text)) {
        result.error = *error;
        return result;
    }
    result.path = path;
    return result;
}

} // namespace pw
