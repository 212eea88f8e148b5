#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace pw {

// How far back a chart or an export reaches.
enum class HistoryRange { Hour, Day, Week, Month };

inline constexpr std::array kHistoryRanges = {HistoryRange::Hour, HistoryRange::Day,
                                              HistoryRange::Week, HistoryRange::Month};

// "1h", "24h", "7d", "30d".
QString historyRangeName(HistoryRange range);
std::optional<HistoryRange> parseHistoryRange(QStringView name);
double historyRangeSeconds(HistoryRange range);

} // namespace pw
