#pragma once

#include <QString>

namespace pw::app {
class CompositionRoot;
class HeadlessReporter;

// Adds the probes' figures (latency, busiest processes) to the readout.
void addProbeSections(HeadlessReporter& reporter, const CompositionRoot& root);

// Every JSON key of a readout line with its unit and when it is null, as a
// Markdown table (the README's list is this output).
QString figureListText();

} // namespace pw::app
