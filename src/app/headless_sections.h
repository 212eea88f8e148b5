#pragma once

#include "app/command_line.h"

namespace pw::app {
class HeadlessReporter;

// Adds the probes' figures (latency, busiest processes) to the readout.
void addProbeSections(HeadlessReporter& reporter, const CommandLineOptions& options);

} // namespace pw::app
