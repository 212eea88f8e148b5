#include "app/headless_sections.h"

#include "app/headless_reporter.h"

namespace pw::app {

void addProbeSections(HeadlessReporter&, const CommandLineOptions&) {}

} // namespace pw::app
