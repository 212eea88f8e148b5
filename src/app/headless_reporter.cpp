#include "app/headless_reporter.h"

#include "services/system_stats_provider.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <chrono>
#include <cstdio>

namespace pw::app {
namespace {
void printLine(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
double now() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}
} // namespace

HeadlessReporter::HeadlessReporter(SystemStatsProvider& stats, Options options, QObject* parent)
    : QObject(parent), m_stats(stats), m_options(options) {
    connect(&m_stats, &SystemStatsProvider::cycleFinished, this, &HeadlessReporter::report);
}

QJsonObject HeadlessReporter::storeJson(const SystemStatsProvider& s, double timeSinceEpoch) {
    QJsonArray history;
    for (double v : s.cpuHistory())
        history.append(v);
    return QJsonObject{
        {QStringLiteral("time"), timeSinceEpoch},
        {QStringLiteral("cpuUsage"), s.cpuUsage()},
        {QStringLiteral("cpuHistory"), history},
        {QStringLiteral("eClusterUsage"), s.eClusterUsage()},
        {QStringLiteral("pClusterUsage"), s.pClusterUsage()},
        {QStringLiteral("aneUsage"), s.aneUsage()},
        {QStringLiteral("memoryUsed"), s.memoryUsed()},
        {QStringLiteral("memoryTotal"), s.memoryTotal()},
        {QStringLiteral("memoryPressure"), s.memoryPressure()},
        {QStringLiteral("memoryWired"), s.memoryWired()},
        {QStringLiteral("memoryCompressed"), s.memoryCompressed()},
        {QStringLiteral("memoryApp"), s.memoryApp()},
        {QStringLiteral("memorySwap"), s.memorySwap()},
        {QStringLiteral("networkUpload"), s.networkUpload()},
        {QStringLiteral("networkDownload"), s.networkDownload()},
        {QStringLiteral("socTemperature"), s.socTemperature()},
        {QStringLiteral("powerDraw"), s.powerDraw()},
        {QStringLiteral("batteryPercentage"), s.batteryPercentage()},
        {QStringLiteral("batteryIsCharging"), s.batteryIsCharging()},
        {QStringLiteral("batteryTimeToEmpty"), s.batteryTimeToEmpty()},
        {QStringLiteral("efficiencyRatio"), s.efficiencyRatio()},
    };
}

QString HeadlessReporter::storeHumanLine(const SystemStatsProvider& s) {
    QString battery = QStringLiteral("%1%").arg(s.batteryPercentage());
    if (s.batteryIsCharging())
        battery += QStringLiteral(" charging");
    if (s.batteryTimeToEmpty() > 0)
        battery += QStringLiteral(", %1 min left").arg(s.batteryTimeToEmpty());
    return QStringLiteral("CPU %1% (E %2% P %3%)  ANE %4%  Memory %5/%6 GB %7% (wired %8, "
                          "compressed %9, app %10, swap %11 GB)  Net up %12 down %13 KB/s  "
                          "Temp %14\u00B0C  Power %15 W  Battery %16  Efficiency %17 %/W")
        .arg(s.cpuUsage(), 0, 'f', 1)
        .arg(s.eClusterUsage(), 0, 'f', 1)
        .arg(s.pClusterUsage(), 0, 'f', 1)
        .arg(s.aneUsage(), 0, 'f', 1)
        .arg(s.memoryUsed(), 0, 'f', 2)
        .arg(s.memoryTotal(), 0, 'f', 2)
        .arg(s.memoryPressure(), 0, 'f', 1)
        .arg(s.memoryWired(), 0, 'f', 2)
        .arg(s.memoryCompressed(), 0, 'f', 2)
        .arg(s.memoryApp(), 0, 'f', 2)
        .arg(s.memorySwap(), 0, 'f', 2)
        .arg(s.networkUpload(), 0, 'f', 1)
        .arg(s.networkDownload(), 0, 'f', 1)
        .arg(s.socTemperature(), 0, 'f', 1)
        .arg(s.powerDraw(), 0, 'f', 2)
        .arg(battery)
        .arg(s.efficiencyRatio(), 0, 'f', 2);
}

void HeadlessReporter::report() {
    if (m_options.json) {
        QJsonObject object = storeJson(m_stats, now());
        for (const Section& section : m_sections)
            if (section.addJson)
                section.addJson(object);
        printLine(QJsonDocument(object).toJson(QJsonDocument::Compact));
    } else {
        QString line = storeHumanLine(m_stats);
        for (const Section& section : m_sections)
            if (section.humanText) {
                const QString text = section.humanText();
                if (!text.isEmpty())
                    line += QStringLiteral("  ") + text;
            }
        printLine(line.toUtf8());
    }
    ++m_cycles;
    if (!m_options.samples || m_cycles < *m_options.samples)
        return;
    int exitCode = 0;
    if (m_options.exportCsv) {
        if (const std::optional<QString> path = m_stats.exportHistoryToCSV())
            printLine(path->toUtf8());
        else
            exitCode = 1;
    }
    Q_EMIT finished(exitCode);
}

} // namespace pw::app
