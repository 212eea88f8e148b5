#include "app/headless_sections.h"

#include "app/composition_root.h"
#include "app/headless_reporter.h"
#include "services/figures/figure_output.h"
#include "services/ping_service.h"
#include "services/process_monitor.h"

#include <QJsonArray>

namespace pw::app {
namespace {

// Figures the kernel would not give are negative; they are written as null.
template <typename T> QJsonValue known(T value) {
    return value >= 0 ? QJsonValue(static_cast<double>(value)) : QJsonValue();
}

QJsonArray processesJson(const QList<ProcessInfoData>& processes) {
    QJsonArray list;
    for (const ProcessInfoData& p : processes)
        list.append(QJsonObject{{QStringLiteral("id"), p.id},
                                {QStringLiteral("name"), p.name},
                                {QStringLiteral("fullPath"), p.fullPath},
                                {QStringLiteral("cpuUsage"), p.cpuUsage},
                                {QStringLiteral("energyImpact"), p.energyImpact},
                                {QStringLiteral("residentBytes"), known(p.residentBytes)},
                                {QStringLiteral("storageReadRate"), known(p.storageReadRate)},
                                {QStringLiteral("storageWriteRate"), known(p.storageWriteRate)}});
    return list;
}

QString processesText(const QList<ProcessInfoData>& processes) {
    QStringList parts;
    for (const ProcessInfoData& p : processes)
        parts << QStringLiteral("%1 %2%").arg(p.name).arg(p.cpuUsage, 0, 'f', 1);
    return QStringLiteral("Top: ") +
           (parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", ")));
}

} // namespace

void addProbeSections(HeadlessReporter& reporter, const CompositionRoot& root) {
    ProcessMonitor* processes = root.makeProcessMonitor().release();
    processes->setParent(&reporter);
    PingService* ping = root.makePingService().release();
    ping->setParent(&reporter);
    reporter.setLatencySource(ping);

    // The list is printed once per publication, not on every cycle.
    auto published = std::make_shared<bool>(false);
    QObject::connect(processes, &ProcessMonitor::topProcessesChanged, &reporter,
                     [published] { *published = true; });

    reporter.addSection({[processes, published](QJsonObject& o) {
                             if (!*published)
                                 return;
                             *published = false;
                             o.insert(QStringLiteral("topProcesses"),
                                      processesJson(processes->topProcesses()));
                         },
                         [processes, published]() -> QString {
                             if (!*published)
                                 return {};
                             *published = false;
                             return processesText(processes->topProcesses());
                         }});
}

QString figureListText() {
    QString text = figureListMarkdown(
        {{QStringLiteral("time"), QStringLiteral("seconds since 1970 (Unix time)"),
          QStringLiteral("When the line was written."), QStringLiteral("never")}});
    text += QStringLiteral(
        "| `topProcesses` | list | The busiest processes as `{id, name, fullPath, cpuUsage` "
        "(percent of one CPU)`, energyImpact, residentBytes` (bytes)`, storageReadRate, "
        "storageWriteRate` (bytes per second)`}`. | never (an empty list at first); "
        "`residentBytes` and the rates are null for other users' processes and before a "
        "process's second reading |\n");
    return text;
}

} // namespace pw::app
