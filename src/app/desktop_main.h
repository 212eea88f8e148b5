#pragma once

#include "app/command_line.h"

namespace pw::app {

// Runs the tray program on a desktop session; returns the exit status.
int runDesktop(int& argc, char** argv, const CommandLineOptions& options);

} // namespace pw::app
