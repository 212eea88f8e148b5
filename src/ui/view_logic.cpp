#include "ui/view_logic.h"

#include "services/engine/snapshot.h"
#include "services/network/network_details_monitor.h"
#include "services/process_info_data.h"
#include "services/system_colors.h"
#include "services/terminal_text.h"
#include "ui/format/figure_format.h"

#include <QDir>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace pw::ui {

QPolygonF sparklinePoints(const QList<double>& data, QSizeF frame, double scaleMaximum) {
    QPolygonF points;
    const qsizetype n = data.size();
    if (n < 2 || !(scaleMaximum > 0.0))
        return points;
    const double dx = frame.width() / static_cast<double>(n - 1);
    const double h = frame.height();
    points.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        points.append(QPointF(dx * static_cast<double>(i), h - h * (data[i] / scaleMaximum)));
    return points;
}

double rateChartScale(const QList<double>& data) {
    double top = 1.0;
    for (double value : data)
        top = std::max(top, value); // NaN never wins the comparison
    return top;
}

double ringFraction(double percentage) {
    if (!(percentage > 0.0))
        return 0.0;
    return std::min(percentage / 100.0, 1.0);
}

double ringArcSpanDegrees(double fraction) {
    if (!(fraction > 0.0))
        return 0.0;
    return -360.0 * std::min(fraction, 1.0);
}

QList<CoreRingFill> coreRingFills(const QList<double>& usages, const QList<bool>& isEfficiency) {
    QList<CoreRingFill> fills;
    fills.reserve(usages.size());
    for (qsizetype i = 0; i < usages.size(); ++i) {
        const bool efficiency = i < isEfficiency.size() && isEfficiency[i];
        fills.append(
            {efficiency ? systemColor::pink() : systemColor::blue(), ringFraction(usages[i])});
    }
    return fills;
}

CoreRingGrid coreRingGrid(qsizetype count) {
    constexpr int kPerRow = 10;
    constexpr int kRows = 3;
    constexpr int kMinimumDiameter = 8;
    CoreRingGrid grid;
    if (count <= 0)
        return grid;
    int perRow = kPerRow;
    if (count > kPerRow * kRows) {
        perRow = static_cast<int>((count + kRows - 1) / kRows);
        // Diameter, line and gap shrink together: a row is perRow rings and
        // perRow - 1 gaps of a quarter diameter each.
        const int fitting =
            static_cast<int>(std::floor(kCoreSectionWidth / (perRow * 1.25 - 0.25)));
        grid.diameter = std::clamp(fitting, kMinimumDiameter, 24);
        grid.lineWidth = 4.0 * grid.diameter / 24.0;
        grid.spacing = grid.diameter / 4;
        // At the smallest diameter the gaps give way first.
        const int room = (kCoreSectionWidth - perRow * grid.diameter) / std::max(1, perRow - 1);
        grid.spacing = std::clamp(room, 0, grid.spacing);
    }
    for (qsizetype left = count; left > 0; left -= perRow)
        grid.rows.append(static_cast<int>(std::min<qsizetype>(left, perRow)));
    return grid;
}

double memoryUsedPercentage(const MemoryFigures& memory) {
    const double divisor = memory.totalGB > 1.0 ? memory.totalGB : 1.0;
    return memory.usedGB / divisor * 100.0;
}

QList<LegendEntry> memoryLegend(const MemoryFigures& memory) {
    auto gigabytes = [](double value) { return fixedText(value, 1, u" GB"); };
    return {
        {systemColor::blue(), QStringLiteral("App"), gigabytes(memory.appGB)},
        {systemColor::pink(), QStringLiteral("Wired"), gigabytes(memory.wiredGB)},
        {systemColor::yellow(), QStringLiteral("Compressed"), gigabytes(memory.compressedGB)},
        {systemColor::gray(), QStringLiteral("Free"), gigabytes(memory.totalGB - memory.usedGB)},
    };
}

QString swapText(double swapGigabytes, std::optional<double> totalGigabytes) {
    if (!totalGigabytes)
        return dash();
    if (!(*totalGigabytes > 0.0))
        return QStringLiteral("No swap");
    return fixedText(swapGigabytes, 1, u" GB of ") + fixedText(*totalGigabytes, 1, u" GB");
}

double swapBarFraction(double swapGigabytes, std::optional<double> totalGigabytes) {
    if (!totalGigabytes || !(*totalGigabytes > 0.0))
        return 0.0;
    return std::clamp(swapGigabytes / *totalGigabytes, 0.0, 1.0);
}

QString residentMemoryText(qint64 residentBytes) {
    if (residentBytes < 0)
        return dash();
    const double bytes = static_cast<double>(residentBytes);
    // Most processes hold megabytes; a GB figure would read 0.0 for them.
    if (bytes < kGiB)
        return fixedText(bytes / kMiB, 0, u" MB");
    return fixedText(bytes / kGiB, 1, u" GB");
}

GaugeFigure diskRingFigure(std::optional<double> usedFraction) {
    if (!usedFraction)
        return {dash(), 0.0};
    return {wholeText(*usedFraction * 100.0), std::clamp(*usedFraction, 0.0, 1.0)};
}

QString diskAvailableText(std::optional<double> availableGigabytes) {
    return fixedText(availableGigabytes, 1, u" GB available");
}

TrafficFigures diskProcessFigures(const ProcessInfoData& process) {
    // Starting at unit `first` of K, M, G, T; at most four digits so the
    // column, sized for "9999" and a letter, never clips.
    auto figure = [](double rate, qsizetype first) {
        if (!(rate >= 0.0))
            return dash();
        double value = rate / std::pow(kKiB, static_cast<double>(first + 1));
        qsizetype unit = first;
        while (std::round(value) > 9999.0 && unit + 1 < kProcessFigureUnits.size()) {
            value /= kKiB;
            ++unit;
        }
        return wholeText(std::round(value), kProcessFigureUnits.mid(unit, 1));
    };
    return {figure(process.storageReadRate, 1), figure(process.storageWriteRate, 0)};
}

InterfaceFigure interfaceFigure(const NetworkDetailsMonitor& network) {
    const QString name = network.networkInterfaceName();
    if (name.isEmpty())
        return {QStringLiteral("wifi"), dash()};
    if (network.networkIsWireless())
        return {QStringLiteral("wifi"), QStringLiteral("Wi-Fi")};
    return {QStringLiteral("cable.connector"), terminalSafe(name)};
}

QString processDisplayText(const QString& name, const QString& fullPath, bool showFullProcessPath) {
    return showFullProcessPath ? fullPath : name;
}

Qt::TextElideMode processElideMode(bool showFullProcessPath) {
    return showFullProcessPath ? Qt::ElideLeft : Qt::ElideRight;
}

QList<TabEntry> tabList() {
    return {
        {QStringLiteral("waveform.path.ecg"), systemColor::blue(), TabContent::cpu},
        {QStringLiteral("exclamationmark.triangle.fill"), systemColor::yellow(),
         TabContent::network},
        {QStringLiteral("terminal"), systemColor::gray(), TabContent::disk},
        {QStringLiteral("memorychip"), systemColor::white(), TabContent::memory},
        {QStringLiteral("speedometer"), systemColor::blue(), TabContent::memory},
    };
}

TabContent tabContentFor(int index) {
    const auto tabs = tabList();
    if (index < 0 || index >= tabs.size())
        return TabContent::none;
    return tabs[index].content;
}

QString listButtonSymbol(bool showFullProcessPath) {
    return showFullProcessPath ? QStringLiteral("list.bullet.rectangle.portrait.fill")
                               : QStringLiteral("list.bullet.rectangle.portrait");
}

std::optional<LaunchCommand> launchCommandFor(const QString& desktopEntry) {
    if (desktopEntry.isEmpty() || !QDir::isAbsolutePath(desktopEntry) ||
        !desktopEntry.endsWith(QStringLiteral(".desktop")) || desktopEntry.contains(QChar(0)))
        return std::nullopt;
    return LaunchCommand{QStringLiteral("gio"), {QStringLiteral("launch"), desktopEntry}};
}

QString launcherToolTip(const QString& processName) {
    return plainToolTip(QStringLiteral("Open ") + processName);
}

QString plainToolTip(const QString& text) {
    const QString safe = terminalSafe(text);
    // A tooltip that looks like markup is shown as markup; a name must not be.
    return Qt::mightBeRichText(safe) ? Qt::convertFromPlainText(safe, Qt::WhiteSpaceNoWrap) : safe;
}

} // namespace pw::ui
