#include "services/metrics/catalogue_metrics.h"

#include "services/engine/units.h"
#include "services/figures/figure_catalogue.h"

namespace pw::metrics {
namespace {

// The figure's value as a number; absent when unknown or not a number.
std::optional<double> numeric(const FigureValue& value) {
    if (const double* d = std::get_if<double>(&value))
        return *d;
    if (const qint64* i = std::get_if<qint64>(&value))
        return static_cast<double>(*i);
    if (const bool* b = std::get_if<bool>(&value))
        return *b ? 1.0 : 0.0;
    return std::nullopt;
}

} // namespace

std::optional<BaseUnit> baseUnit(FigureUnit unit) {
    switch (unit) {
    case FigureUnit::None:
        return BaseUnit{"", 1.0};
    case FigureUnit::Percent:
        return BaseUnit{"_ratio", 0.01};
    case FigureUnit::Ratio:
        return BaseUnit{"_ratio", 1.0};
    case FigureUnit::Gigabytes:
        return BaseUnit{"_bytes", kBytesPerGiB};
    case FigureUnit::Bytes:
        return BaseUnit{"_bytes", 1.0};
    case FigureUnit::Celsius:
        return BaseUnit{"_celsius", 1.0};
    case FigureUnit::Watts:
        return BaseUnit{"_watts", 1.0};
    case FigureUnit::Minutes:
        return BaseUnit{"_seconds", 60.0};
    case FigureUnit::Milliseconds:
        return BaseUnit{"_seconds", 0.001};
    case FigureUnit::Seconds:
        return BaseUnit{"_seconds", 1.0};
    case FigureUnit::Gigahertz:
        return BaseUnit{"_hertz", 1e9};
    case FigureUnit::KilobytesPerCycle:
    case FigureUnit::BytesPerSecond:
        break;
    }
    return std::nullopt;
}

std::string metricFamilyName(const Figure& figure) {
    const std::optional<BaseUnit> unit = baseUnit(figure.unit);
    if (figure.metric.name.empty() || !unit)
        return {};
    std::string name = "pulsewick_";
    name += figure.metric.name;
    name += unit->suffix;
    return name;
}

void writeCatalogueMetrics(ExpositionWriter& writer, const FigureInputs& inputs) {
    for (const Figure& figure : figureCatalogue()) {
        const std::string name = metricFamilyName(figure);
        if (name.empty())
            continue;
        const std::optional<double> value = numeric(figure.read(inputs));
        if (!value)
            continue;
        writer.family(name,
                      figure.kind == FigureKind::Counter ? MetricType::Counter : MetricType::Gauge,
                      figure.help);
        const double scaled = *value * baseUnit(figure.unit)->scale;
        const FigureMetric& metric = figure.metric;
        if (metric.labelName.empty())
            writer.sample(scaled);
        else
            writer.sample(scaled, {{metric.labelName,
                                    QString::fromUtf8(metric.labelValue.data(),
                                                      qsizetype(metric.labelValue.size()))}});
    }
}

} // namespace pw::metrics
