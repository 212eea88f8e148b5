#pragma once

#include "app/metrics/serve_address.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pw::app {

struct CommandLineOptions {
    bool headless = false;
    bool json = false;
    std::optional<long long> samples; // stop after this many cycles
    bool exportCsv = false;
    QString root = QStringLiteral("/");
    std::optional<QString> latencyHost;
    bool dashboard = false; // --dashboard [PAGE]
    std::optional<QString> dashboardPage;
    std::optional<ServeAddress> serve; // --serve [ADDRESS:PORT]
};

struct CommandLineResult {
    enum class Action { Run, ShowHelp, ShowVersion, ListFigures, Error } action = Action::Run;
    CommandLineOptions options;
    QString error; // one line naming the bad option or value
};

// Pure: parses the arguments after the program name.
CommandLineResult parseCommandLine(const QStringList& arguments);
QString usageText();

} // namespace pw::app
