#include "app/history_export_main.h"

#include "services/history/history_columns.h"
#include "services/history/history_export.h"
#include "services/history/history_service.h"
#include "services/log_line.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace pw::app {

int runHistoryExport(int& argc, char** argv, const CommandLineOptions& options) {
    QCoreApplication app(argc, argv);
    // In JSON mode standard output carries only the one object.
    setLogTarget(options.json ? LogTarget::StandardError : LogTarget::StandardOutput);
    const QString store = defaultHistoryStorePath();
    const double now = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    const HistoryExportResult result =
        exportHistoryRange(store, *options.historyCsv, now, historyExportFolder());
    if (result.noStore) {
        std::fprintf(stderr,
                     "pulsewick: no history yet: %s does not exist (the desktop program "
                     "records it; a headless run does with --record)\n",
                     store.toUtf8().constData());
        return 1;
    }
    if (!result.path) {
        logLine(QStringLiteral("Failed to write CSV: ") + result.error);
        return 1;
    }
    const QByteArray line =
        options.json ? QJsonDocument(QJsonObject{{QStringLiteral("exportedCsv"), *result.path}})
                           .toJson(QJsonDocument::Compact)
                     : result.path->toUtf8();
    std::printf("%s\n", line.constData());
    return 0;
}

} // namespace pw::app
