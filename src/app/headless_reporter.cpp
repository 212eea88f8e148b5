#include "app/headless_reporter.h"

#include "services/figures/figure_output.h"
#include "services/ping_service.h"
#include "services/system_stats_provider.h"
#include "services/terminal_text.h"

#include <QJsonDocument>

#include <cstdio>

namespace pw::app {
namespace {
void printLine(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
void printJson(const QJsonObject& object) {
    printLine(terminalSafeJson(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}
} // namespace

HeadlessReporter::HeadlessReporter(SystemStatsProvider& stats, Options options, QObject* parent)
    : QObject(parent), m_stats(stats), m_options(options) {
    connect(&m_stats, &SystemStatsProvider::cycleFinished, this, &HeadlessReporter::report);
}

void HeadlessReporter::report() {
    if (m_finished)
        return;
    LatencyFigures latency;
    if (m_ping)
        latency = {m_ping->currentLatency(), m_ping->knownLatencyHistory()};
    const FigureInputs inputs{m_stats.snapshot(), m_ping ? &latency : nullptr};
    if (m_options.json) {
        QJsonObject object = figuresJson(inputs, m_stats.snapshot().wallSeconds);
        for (const Section& section : m_sections)
            if (section.addJson)
                section.addJson(object);
        printJson(object);
    } else {
        QString line = figuresText(inputs);
        for (const Section& section : m_sections)
            if (section.humanText) {
                const QString text = section.humanText();
                if (!text.isEmpty())
                    line += QStringLiteral("  ") + text;
            }
        // Names come from the machine: one sample is always exactly one line.
        printLine(terminalSafe(line).toUtf8());
    }
    ++m_cycles;
    if (m_options.samples && m_cycles >= *m_options.samples)
        finish();
}

void HeadlessReporter::finish() {
    if (m_finished)
        return;
    m_finished = true;
    int exitCode = 0;
    if (m_options.exportCsv) {
        if (const std::optional<QString> path = m_stats.exportHistoryToCSV()) {
            // In JSON mode every line on standard output is an object.
            if (m_options.json)
                printJson(QJsonObject{{QStringLiteral("exportedCsv"), *path}});
            else
                printLine(terminalSafe(*path).toUtf8());
        } else {
            exitCode = 1;
        }
    }
    Q_EMIT finished(exitCode);
}

} // namespace pw::app
