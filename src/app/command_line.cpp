#include "app/command_line.h"

namespace pw::app {

QString usageText() {
    return QStringLiteral(
        "Usage: pulsewick [options]\n"
        "A system monitor for the desktop tray.\n"
        "\n"
        "  --headless            print the figures in the terminal, one line per second\n"
        "  --json                with --headless: one JSON object per line\n"
        "  --samples N           stop after N cycles\n"
        "  --export-csv          when the run ends, write the CPU history CSV and print its path\n"
        "  --root DIR            read counters from DIR/proc and DIR/sys\n"
        "  --latency-host HOST   target of the latency probe\n"
        "  --dashboard [PAGE]    open the dashboard window on PAGE\n"
        "  --serve [ADDRESS:PORT]  serve the figures to Prometheus at /metrics, without\n"
        "                        a display or terminal readout (127.0.0.1:19189 by default)\n"
        "  --help                show this help\n"
        "  --version             show the version\n"
        "  --list-figures        list the JSON keys with their units, as a Markdown table\n");
}

CommandLineResult parseCommandLine(const QStringList& arguments) {
    CommandLineResult result;
    auto fail = [&](const QString& message) {
        result.action = CommandLineResult::Action::Error;
        result.error = message;
        return result;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            inlineValue = arg.mid(eq + 1);
            arg = arg.left(eq);
        }
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        auto takesNoValue = [&] { return !inlineValue.has_value(); };

        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.action = CommandLineResult::Action::ShowHelp;
            return result;
        }
        if (arg == QLatin1String("--version")) {
            result.action = CommandLineResult::Action::ShowVersion;
            return result;
        }
        if (arg == QLatin1String("--list-figures")) {
            result.action = CommandLineResult::Action::ListFigures;
            return result;
        }
        if (arg == QLatin1String("--headless") && takesNoValue()) {
            result.options.headless = true;
        } else if (arg == QLatin1String("--json") && takesNoValue()) {
            result.options.json = true;
        } else if (arg == QLatin1String("--export-csv") && takesNoValue()) {
            result.options.exportCsv = true;
        } else if (arg == QLatin1String("--samples")) {
            const std::optional<QString> v = value();
            if (!v)
                return fail(QStringLiteral("option --samples needs a value"));
            bool ok = false;
            const long long n = v->toLongLong(&ok);
            if (!ok || n < 1)
                return fail(QStringLiteral("bad value for --samples: \"%1\" (a whole number of 1 "
                                           "or more)")
                                .arg(*v));
            result.options.samples = n;
        } else if (arg == QLatin1String("--root")) {
            const std::optional<QString> v = value();
            if (!v || v->isEmpty())
                return fail(QStringLiteral("option --root needs a directory"));
            result.options.root = *v;
        } else if (arg == QLatin1String("--latency-host")) {
            const std::optional<QString> v = value();
            // A leading dash would reach ping as an option.
            if (!v || v->isEmpty() || v->startsWith(QLatin1Char('-')))
                return fail(QStringLiteral("bad value for --latency-host: \"%1\"")
                                .arg(v.value_or(QString())));
            result.options.latencyHost = *v;
        } else if (arg == QLatin1String("--dashboard")) {
            result.options.dashboard = true;
            if (inlineValue)
                result.options.dashboardPage = *inlineValue;
            else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--")))
                result.options.dashboardPage = arguments[++i];
        } else if (arg == QLatin1String("--serve")) {
            result.options.serve = ServeAddress{};
            std::optional<QString> v = inlineValue;
            if (!v && i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--")))
                v = arguments[++i];
            if (v) {
                result.options.serve = parseServeAddress(*v);
                if (!result.options.serve)
                    return fail(QStringLiteral("bad value for --serve: \"%1\" (ADDRESS:PORT, such "
                                               "as 127.0.0.1:%2)")
                                    .arg(*v)
                                    .arg(kDefaultMetricsPort));
            }
        } else {
            return fail(QStringLiteral("unknown option \"%1\"").arg(arguments[i]));
        }
    }
    const CommandLineOptions& o = result.options;
    if (o.serve && (o.headless || o.json || o.exportCsv || o.dashboard))
        return fail(
            QStringLiteral("--serve has no terminal readout or windows: it cannot be "
                           "combined with --headless, --json, --export-csv or --dashboard"));
    return result;
}

} // namespace pw::app
