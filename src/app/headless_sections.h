#pragma once

namespace pw::app {
class CompositionRoot;
class HeadlessReporter;

// Adds the probes' figures (latency, busiest processes) to the readout.
void addProbeSections(HeadlessReporter& reporter, const CompositionRoot& root);

} // namespace pw::app
