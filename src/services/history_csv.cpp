#include "services/history_csv.h"

#include <QDateTime>

#include <charconv>
#include <cmath>

namespace pw {

QString csvNumber(double value) {
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    char buf[64];
    const double magnitude = std::fabs(value);
    const bool exponent = magnitude != 0.0 && (magnitude < 1e-4 || magnitude >= 9007199254740992.0);
    const auto format = exponent ? std::chars_format::scientific : std::chars_format::fixed;
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, format);
    if (ec != std::errc())
        return QString::number(value, 'g', 17);
    QString text = QString::fromLatin1(buf, static_cast<int>(end - buf));
    if (!exponent && !text.contains(QLatin1Char('.')))
        text += QLatin1String(".0");
    return text;
}

QString historyFileName(double secondsSinceEpoch) {
    return QStringLiteral("Pulsewick_History_") + csvNumber(secondsSinceEpoch) +
           QStringLiteral(".csv");
}

QString historyCsv(const QList<double>& history, double secondsSinceEpoch) {
    QString text = QStringLiteral("Timestamp,CPUUsage%\n");
    text.reserve(32 * (history.size() + 1));
    const qint64 n = history.size();
    for (qint64 i = 0; i < n; ++i) {
        const double stamp = std::floor(secondsSinceEpoch + static_cast<double>(i - n));
        const QDateTime at = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(stamp), Qt::UTC);
        text += at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000,") +
                csvNumber(history[i]) + QLatin1Char('\n');
    }
    return text;
}

} // namespace pw
