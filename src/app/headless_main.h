#pragma once

#include "app/command_line.h"

namespace pw::app {

// Runs the terminal readout; returns the exit status.
int runHeadless(int& argc, char** argv, const CommandLineOptions& options);

} // namespace pw::app
