#include "ui/view_logic.h"

#include "services/system_colors.h"
#include "services/terminal_text.h"

#include <QDir>
#include <QTextDocument>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace pw::ui {
namespace {

const QChar kDegree(0x00B0);
constexpr double kKibi = 1024.0;
constexpr double kMebi = 1024.0 * 1024.0;
constexpr double kGibi = 1024.0 * 1024.0 * 1024.0;

// Negative figures mean "no source"; NaN is treated the same.
bool known(double value) {
    return value >= 0.0;
}

// "%.Nf" exactly as printf rounds in the C locale (ties to even on the binary
// value), whatever locale the application runs in.
QString fixed(double value, int precision) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return QStringLiteral("nan");
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString truncatedText(double value) {
    return QString::asprintf("%lld", truncateTowardZero(value));
}

} // namespace

QString noFigure() {
    return QString(QChar(0x2014));
}

QString textOrDash(const QString& text) {
    return text.isEmpty() ? noFigure() : terminalSafe(text);
}

QString formatPercent(double value) {
    return fixed(value, 0) + QLatin1Char('%');
}
QString formatPercentOneDecimal(double value) {
    return fixed(value, 1) + QLatin1Char('%');
}
QString formatGigabytes(double value) {
    return fixed(value, 1) + QStringLiteral(" GB");
}
QString formatDegreesOneDecimal(double value) {
    return fixed(value, 1) + kDegree;
}
QString formatKilobytesPerSecond(double value) {
    return fixed(value, 1) + QStringLiteral(" KB/s");
}

QString formatByteRate(double bytesPerSecond) {
    if (!known(bytesPerSecond))
        return noFigure();
    const double kilobytes = bytesPerSecond / kKibi;
    if (kilobytes < 1024.0)
        return fixed(kilobytes, 0) + QStringLiteral(" KB/s");
    const double megabytes = bytesPerSecond / kMebi;
    return fixed(megabytes, megabytes < 100.0 ? 1 : 0) + QStringLiteral(" MB/s");
}

long long truncateTowardZero(double value) {
    if (std::isnan(value))
        return 0;
    constexpr auto maxValue = std::numeric_limits<long long>::max();
    constexpr auto minValue = std::numeric_limits<long long>::min();
    if (value >= static_cast<double>(maxValue))
        return maxValue;
    if (value <= static_cast<double>(minValue))
        return minValue;
    return static_cast<long long>(std::trunc(value));
}

QString menuBarCpuText(double cpuUsage) {
    return formatPercent(cpuUsage);
}
QString menuBarTemperatureText(double socTemperature) {
    return formatDegreesOneDecimal(socTemperature);
}

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

QString cpuHeaderText(double clockGHz, double socTemperature) {
    const QString clock =
        known(clockGHz) ? fixed(clockGHz, 2) + QStringLiteral(" GHz") : noFigure();
    return clock + QStringLiteral(", ") + truncatedText(socTemperature) + kDegree;
}

QString cpuProcessValueText(double cpuUsage) {
    return formatPercentOneDecimal(cpuUsage);
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

QList<GaugeFigure> gpuGauges(double busy, double memoryBusy, double temperature,
                             double vramFraction) {
    auto gauge = [](double value, const QString& text, double fraction) {
        return known(value) ? GaugeFigure{text, fraction} : GaugeFigure{noFigure(), 0.0};
    };
    return {
        gauge(busy, formatPercent(busy), ringFraction(busy)),
        gauge(memoryBusy, formatPercent(memoryBusy), ringFraction(memoryBusy)),
        gauge(temperature, truncatedText(temperature) + kDegree, ringFraction(temperature)),
        gauge(vramFraction, fixed(vramFraction, 2), std::min(vramFraction, 1.0)),
    };
}

QString gpuFrameRateText(double refreshRate) {
    return (refreshRate > 0.0 ? fixed(refreshRate, 0) : noFigure()) + QStringLiteral(" FPS");
}

double memoryUsedPercentage(double used, double total) {
    const double divisor = total > 1.0 ? total : 1.0;
    return used / divisor * 100.0;
}

double freeMemory(double total, double used) {
    return total - used;
}

QList<LegendEntry> memoryLegend(double app, double wired, double compressed, double total,
                                double used) {
    return {
        {systemColor::blue(), QStringLiteral("App"), formatGigabytes(app)},
        {systemColor::pink(), QStringLiteral("Wired"), formatGigabytes(wired)},
        {systemColor::yellow(), QStringLiteral("Compressed"), formatGigabytes(compressed)},
        {systemColor::gray(), QStringLiteral("Free"), formatGigabytes(freeMemory(total, used))},
    };
}

QString swapText(double swapGigabytes) {
    return formatGigabytes(swapGigabytes) + QStringLiteral(" of ") + formatGigabytes(4.0);
}

double swapBarFraction(double swapGigabytes) {
    return std::min(swapGigabytes * 0.25, 1.0);
}

QString residentMemoryText(qint64 residentBytes) {
    if (residentBytes < 0)
        return noFigure();
    return formatGigabytes(static_cast<double>(residentBytes) / kGibi);
}

GaugeFigure diskRingFigure(double usedFraction) {
    if (!known(usedFraction))
        return {noFigure(), 0.0};
    return {truncatedText(usedFraction * 100.0), std::min(usedFraction, 1.0)};
}

QString diskAvailableText(double availableGigabytes, double usedFraction) {
    if (!known(usedFraction))
        return noFigure();
    return formatGigabytes(availableGigabytes) + QStringLiteral(" available");
}

TrafficFigures diskProcessFigures(double readBytesPerSecond, double writeBytesPerSecond) {
    auto figure = [](double rate, double unit, QLatin1Char suffix) {
        if (!known(rate))
            return noFigure();
        return QString::asprintf("%lld", truncateTowardZero(std::round(rate / unit))) + suffix;
    };
    return {figure(readBytesPerSecond, kMebi, QLatin1Char('M')),
            figure(writeBytesPerSecond, kKibi, QLatin1Char('K'))};
}

InterfaceFigure interfaceFigure(const QString& interfaceName, bool wireless) {
    if (interfaceName.isEmpty())
        return {QStringLiteral("wifi"), noFigure()};
    if (wireless)
        return {QStringLiteral("wifi"), QStringLiteral("Wi-Fi")};
    return {QStringLiteral("cable.connector"), terminalSafe(interfaceName)};
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
