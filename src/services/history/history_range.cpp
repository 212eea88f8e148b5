#include "services/history/history_range.h"

namespace pw {

QString historyRangeName(HistoryRange range) {
    switch (range) {
    case HistoryRange::Hour:
        return QStringLiteral("1h");
    case HistoryRange::Day:
        return QStringLiteral("24h");
    case HistoryRange::Week:
        return QStringLiteral("7d");
    case HistoryRange::Month:
        break;
    }
    return QStringLiteral("30d");
}

std::optional<HistoryRange> parseHistoryRange(QStringView name) {
    for (HistoryRange range : kHistoryRanges)
        if (name == historyRangeName(range))
            return range;
    return std::nullopt;
}

double historyRangeSeconds(HistoryRange range) {
    constexpr double kHour = 3600.0;
    switch (range) {
    case HistoryRange::Hour:
        return kHour;
    case HistoryRange::Day:
        return 24 * kHour;
    case HistoryRange::Week:
        return 7 * 24 * kHour;
    case HistoryRange::Month:
        break;
    }
    return 30 * 24 * kHour;
}

} // namespace pw
