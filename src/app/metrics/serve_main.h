#pragma once

#include "app/command_line.h"

namespace pw::app {

// Server mode: runs the engine and the latency probe without a display or a
// terminal readout and serves their figures over HTTP until SIGTERM (or
// SIGINT, or the requested number of cycles); returns the exit status.
int runServe(int& argc, char** argv, const CommandLineOptions& options);

} // namespace pw::app
