#pragma once

#include "services/figures/figure.h"
#include "services/metrics/exposition.h"

#include <optional>
#include <string>

namespace pw::metrics {

// A figure unit's base unit in the metrics: the name suffix and the factor
// that turns a value into it. Absent for per-cycle rates, which the metrics
// give as counters for Prometheus to take the rate of.
struct BaseUnit {
    std::string_view suffix;
    double scale = 1.0;
};
std::optional<BaseUnit> baseUnit(FigureUnit unit);

// The family name of a catalogue figure, without a counter's "_total"; empty
// when the figure stays out of the metrics.
std::string metricFamilyName(const Figure& figure);

// Every catalogue figure that has a metric name and a value this cycle.
void writeCatalogueMetrics(ExpositionWriter& writer, const FigureInputs& inputs);

} // namespace pw::metrics
