#pragma once

#include "services/figures/figure.h"

#include <span>

namespace pw {

// Every figure of the engine and the latency probe, in output order.
std::span<const Figure> figureCatalogue();

// The figure with this id; nullptr when there is none.
const Figure* findFigure(std::string_view id);

} // namespace pw
