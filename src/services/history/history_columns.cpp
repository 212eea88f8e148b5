#include "services/history/history_columns.h"

#include "services/figures/figure_catalogue.h"

#include <QDir>

#include <cmath>
#include <limits>

namespace pw {
namespace {

std::vector<HistoryColumn> catalogueColumns() {
    std::vector<HistoryColumn> columns;
    for (const Figure& f : figureCatalogue())
        if (f.kind == FigureKind::Gauge)
            columns.push_back(
                {&f, QString::fromLatin1(f.id.data(), static_cast<qsizetype>(f.id.size()))});
    return columns;
}

double numberOf(const FigureValue& value) {
    if (const double* d = std::get_if<double>(&value))
        return std::isfinite(*d) ? *d : std::numeric_limits<double>::quiet_NaN();
    if (const qint64* i = std::get_if<qint64>(&value))
        return static_cast<double>(*i);
    return std::numeric_limits<double>::quiet_NaN();
}

} // namespace

const std::vector<HistoryColumn>& historyColumns() {
    static const std::vector<HistoryColumn> columns = catalogueColumns();
    return columns;
}

int historyColumnIndex(QStringView id) {
    const std::vector<HistoryColumn>& columns = historyColumns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == id)
            return static_cast<int>(i);
    return -1;
}

QString historyUnitText(FigureUnit unit) {
    switch (unit) {
    case FigureUnit::Percent:
        return QStringLiteral("%");
    case FigureUnit::Ratio:
        return QStringLiteral("ratio");
    case FigureUnit::Gigabytes:
        return QStringLiteral("GB");
    case FigureUnit::KilobytesPerCycle:
        return QStringLiteral("KB/s");
    case FigureUnit::BytesPerSecond:
        return QStringLiteral("B/s");
    case FigureUnit::Celsius:
        return QStringLiteral("\u00B0C");
    case FigureUnit::Watts:
        return QStringLiteral("W");
    case FigureUnit::Minutes:
        return QStringLiteral("min");
    case FigureUnit::Milliseconds:
        return QStringLiteral("ms");
    case FigureUnit::Gigahertz:
        return QStringLiteral("GHz");
    case FigureUnit::Bytes:
        return QStringLiteral("B");
    case FigureUnit::Seconds:
        return QStringLiteral("s");
    case FigureUnit::None:
        break;
    }
    return {};
}

HistoryRow historyRow(const FigureInputs& inputs) {
    const std::vector<HistoryColumn>& columns = historyColumns();
    HistoryRow row;
    row.timeMs = std::llround(inputs.snapshot.wallSeconds * 1000.0);
    row.values.reserve(columns.size());
    for (const HistoryColumn& c : columns)
        row.values.push_back(numberOf(c.figure->read(inputs)));
    return row;
}

QString defaultHistoryStorePath() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir(base).filePath(QStringLiteral("pulsewick/history.sqlite"));
}

} // namespace pw
