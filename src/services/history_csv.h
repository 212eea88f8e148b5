#pragma once

#include <QList>
#include <QString>

namespace pw {

// Shortest round-trip decimal, always with a fraction part ("7.0"), and the
// exponent form for very small or very large magnitudes ("1e-05").
QString csvNumber(double value);

// "Pulsewick_History_<seconds since 1970>.csv"
QString historyFileName(double secondsSinceEpoch);

// The whole file: header, then one line per value, oldest first, the entry at
// position i of n stamped `now` + (i - n) seconds, in UTC.
QString historyCsv(const QList<double>& history, double secondsSinceEpoch);

} // namespace pw
