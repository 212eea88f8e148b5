#pragma once

#include "services/history/history_range.h"

#include <QString>

#include <optional>

namespace pw {

// "Pulsewick_History_<range>_<seconds since 1970>.csv"
QString historyRangeFileName(HistoryRange range, double secondsSinceEpoch);

// "Timestamp" and one column per history figure, as "<id> (<unit>)".
QString historyRangeHeader();

struct HistoryExportResult {
    std::optional<QString> path; // the file written
    QString error;               // why not, for "Failed to write CSV: …"
    bool noStore = false;        // nothing has been recorded yet
};

// Writes the range before `now` to a new file in `folder`, atomically: the
// full-rate rows for up to a day, the minute means beyond. A timestamp is UTC
// to the second; an unknown figure is an empty field.
HistoryExportResult exportHistoryRange(const QString& storePath, HistoryRange range, double now,
                                       const QString& folder);

} // namespace pw
