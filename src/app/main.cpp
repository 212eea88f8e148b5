#include "app/command_line.h"
#include "app/desktop_main.h"
#include "app/headless_main.h"
#include "app/headless_sections.h"
#include "app/metrics/serve_main.h"

#include <cstdio>

namespace {
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const pw::app::CommandLineResult parsed = pw::app::parseCommandLine(arguments);
    using Action = pw::app::CommandLineResult::Action;
    switch (parsed.action) {
    case Action::ShowHelp:
        std::fputs(pw::app::usageText().toUtf8().constData(), stdout);
        return 0;
    case Action::ShowVersion:
        std::printf("pulsewick %s\n", PULSEWICK_VERSION);
        return 0;
    case Action::ListFigures:
        std::fputs(pw::app::figureListText().toUtf8().constData(), stdout);
        return 0;
    case Action::Error:
        std::fprintf(stderr, "pulsewick: %s\n%s", parsed.error.toUtf8().constData(),
                     pw::app::usageText().toUtf8().constData());
        return 2;
    case Action::Run:
        break;
    }
    const pw::app::CommandLineOptions& options = parsed.options;
    if (options.serve)
        return pw::app::runServe(argc, argv, options);
    // The terminal-only options imply the terminal readout.
    const bool headless =
        options.headless || options.json || options.samples || options.exportCsv || !hasDisplay();
    if (headless && options.dashboard) {
        std::fprintf(stderr, "pulsewick: --dashboard needs a display\n");
        return 2;
    }
    if (headless)
        return pw::app::runHeadless(argc, argv, options);
    return pw::app::runDesktop(argc, argv, options);
}
