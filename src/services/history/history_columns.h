#pragma once

#include "services/figures/figure.h"

#include <QString>

#include <vector>

namespace pw {

// The store keeps every figure of the catalogue that is a number going up and
// down; totals, texts, flags and lists are left out.
struct HistoryColumn {
    const Figure* figure;
    QString name; // the figure's id, also the SQL column
};
const std::vector<HistoryColumn>& historyColumns();
// The column's index, or -1.
int historyColumnIndex(QStringView id);

// The unit as a CSV header shows it ("%", "GB", "B/s"); empty for none.
QString historyUnitText(FigureUnit unit);

// One cycle's figures in column order; NaN where the figure was unknown.
struct HistoryRow {
    qint64 timeMs = 0; // wall clock, milliseconds since 1970
    std::vector<double> values;
};
HistoryRow historyRow(const FigureInputs& inputs);

// $XDG_STATE_HOME/pulsewick/history.sqlite (~/.local/state when that is unset
// or not an absolute path).
QString defaultHistoryStorePath();

} // namespace pw
