#include "app/headless_reporter.h"

#include "services/system_stats_provider.h"
#include "services/terminal_text.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <chrono>
#include <cmath>
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
double now() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

// The store's unknown figures are negative; a reader gets null for them.
QJsonValue figure(double value) {
    return value >= 0.0 && std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

QJsonArray numbers(const QList<double>& values) {
    QJsonArray array;
    for (double v : values)
        array.append(figure(v));
    return array;
}

QString text(double value, int decimals, const QString& unit) {
    if (!(value >= 0.0) || !std::isfinite(value))
        return QStringLiteral("\u2014");
    return QString::number(value, 'f', decimals) + unit;
}

// The figures of the newer readings: CPU detail, GPU, disk, network, fans.
void addDeviceFigures(QJsonObject& o, const SystemStatsProvider& s) {
    QJsonArray fans;
    for (const FanSpeed& fan : s.fans())
        fans.append(
            QJsonObject{{QStringLiteral("label"), fan.label}, {QStringLiteral("rpm"), fan.rpm}});
    const std::initializer_list<std::pair<QString, QJsonValue>> entries = {
        {QStringLiteral("cpuUserUsage"), figure(s.cpuUserUsage())},
        {QStringLiteral("cpuSystemUsage"), figure(s.cpuSystemUsage())},
        {QStringLiteral("coreUsages"), numbers(s.coreUsages())},
        {QStringLiteral("cpuClockGHz"), figure(s.cpuClockGHz())},
        {QStringLiteral("gpuName"), s.gpuName()},
        {QStringLiteral("gpuBusy"), figure(s.gpuBusy())},
        {QStringLiteral("gpuMemoryBusy"), figure(s.gpuMemoryBusy())},
        {QStringLiteral("gpuTemperature"), figure(s.gpuTemperature())},
        {QStringLiteral("gpuVramFraction"), figure(s.gpuVramFraction())},
        {QStringLiteral("diskVolumeName"), s.diskVolumeName()},
        {QStringLiteral("diskKind"), s.diskKind()},
        {QStringLiteral("diskTotal"), figure(s.diskTotal())},
        {QStringLiteral("diskAvailable"), figure(s.diskAvailable())},
        {QStringLiteral("diskUsedFraction"), figure(s.diskUsedFraction())},
        {QStringLiteral("diskReadRate"), figure(s.diskReadRate())},
        {QStringLiteral("diskWriteRate"), figure(s.diskWriteRate())},
        {QStringLiteral("diskReadPeak"), figure(s.diskReadPeak())},
        {QStringLiteral("diskWritePeak"), figure(s.diskWritePeak())},
        {QStringLiteral("networkHistory"), numbers(s.networkHistory())},
        {QStringLiteral("networkInterfaceName"), s.networkInterfaceName()},
        {QStringLiteral("networkIsWireless"), s.networkIsWireless()},
        {QStringLiteral("localIPv4Address"), s.localIPv4Address()},
        {QStringLiteral("activeConnections"), QJsonArray::fromStringList(s.activeConnections())},
        {QStringLiteral("fans"), fans},
    };
    for (const auto& [key, value] : entries)
        o.insert(key, value);
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
    QJsonObject o{
        {QStringLiteral("time"), timeSinceEpoch},
        {QStringLiteral("cpuUsage"), s.cpuUsage()},
        {QStringLiteral("cpuHistory"), history},
        {QStringLiteral("eClusterUsage"), s.eClusterUsage()},
        {QStringLiteral("pClusterUsage"), s.pClusterUsage()},
        {QStringLiteral("aneUsage"), figure(s.aneUsage())},
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
    addDeviceFigures(o, s);
    return o;
}

QString HeadlessReporter::storeHumanLine(const SystemStatsProvider& s) {
    QString battery = QStringLiteral("%1%").arg(s.batteryPercentage());
    if (s.batteryIsCharging())
        battery += QStringLiteral(" charging");
    if (s.batteryTimeToEmpty() > 0)
        battery += QStringLiteral(", %1 min left").arg(s.batteryTimeToEmpty());
    const QString disk = s.diskTotal() > 0.0
                             ? QStringLiteral("%1 of %2 GB free")
                                   .arg(text(s.diskAvailable(), 1, {}), text(s.diskTotal(), 1, {}))
                             : QStringLiteral("\u2014");
    const QString kbs = QStringLiteral(" KB/s");
    const QString details =
        QStringLiteral("  Clock %1  Disk %2 (read %3, write %4)  Interface %5")
            .arg(text(s.cpuClockGHz(), 2, QStringLiteral(" GHz")), disk,
                 text(s.diskReadRate() / 1024.0, 1, kbs), text(s.diskWriteRate() / 1024.0, 1, kbs),
                 s.networkInterfaceName().isEmpty() ? QStringLiteral("\u2014")
                                                    : s.networkInterfaceName());
    return QStringLiteral("CPU %1% (E %2% P %3%)  ANE %4  Memory %5/%6 GB %7% (wired %8, "
                          "compressed %9, app %10, swap %11 GB)  Net up %12 down %13 KB/s  "
                          "Temp %14\u00B0C  Power %15 W  Battery %16  Efficiency %17 %/W")
               .arg(s.cpuUsage(), 0, 'f', 1)
               .arg(s.eClusterUsage(), 0, 'f', 1)
               .arg(s.pClusterUsage(), 0, 'f', 1)
               .arg(text(s.aneUsage(), 1, QStringLiteral("%")))
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
               .arg(s.efficiencyRatio(), 0, 'f', 2) +
           details;
}

void HeadlessReporter::report() {
    if (m_finished)
        return;
    if (m_options.json) {
        QJsonObject object = storeJson(m_stats, now());
        for (const Section& section : m_sections)
            if (section.addJson)
                section.addJson(object);
        printJson(object);
    } else {
        QString line = storeHumanLine(m_stats);
        for (const Section& section : m_sections)
            if (section.humanText) {
                const QString text = section.humanText();
                if (!text.isEmpty())
                    line += QStringLiteral("  ") + text;
            }
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
