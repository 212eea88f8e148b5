#include "app/desktop_main.h"

#include "app/headless_main.h"

namespace pw::app {

// Until the tray program lands, a desktop session gets the terminal readout.
int runDesktop(int& argc, char** argv, const CommandLineOptions& options) {
    return runHeadless(argc, argv, options);
}

} // namespace pw::app
