#pragma once

#include "app/command_line.h"

namespace pw::app {

// `pulsewick --history-csv RANGE`: writes the range of the history store to a
// CSV file in the temporary folder and prints its path; 1 when there is no
// store yet or the file could not be written.
int runHistoryExport(int& argc, char** argv, const CommandLineOptions& options);

} // namespace pw::app
