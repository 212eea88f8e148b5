#include "ui/view_logic.h"

#include "services/system_colors.h"

#include <QDir>
#include <QRandomGenerator>

#include <charconv>
#include <cmath>
#include <limits>

namespace pw::ui {
namespace {

double uniformReal(QRandomGenerator& random, double low, double high) {
    return low + random.generateDouble() * (high - low);
}

long long uniformWhole(QRandomGenerator& random, long long low, long long highInclusive) {
    return static_cast<long long>(
        random.bounded(static_cast<qint64>(low), static_cast<qint64>(highInclusive + 1)));
}

const QChar kDegree(0x00B0);

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

} // namespace

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

QPolygonF sparklinePoints(const QList<double>& data, QSizeF frame) {
    QPolygonF points;
    const qsizetype n = data.size();
    if (n < 2)
        return points;
    const double dx = frame.width() / static_cast<double>(n - 1);
    const double h = frame.height();
    points.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        points.append(QPointF(dx * static_cast<double>(i), h - h * (data[i] / 100.0)));
    return points;
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

QString cpuHeaderText(double socTemperature) {
    return QStringLiteral("1.89 GHz, ") +
           QString::asprintf("%lld", truncateTowardZero(socTemperature)) + kDegree;
}

QString userSplitText(double cpuUsage) {
    return formatPercent(cpuUsage * 0.6);
}
QString systemSplitText(double cpuUsage) {
    return formatPercent(cpuUsage * 0.4);
}
QString cpuProcessValueText(double cpuUsage) {
    return formatPercentOneDecimal(cpuUsage);
}

QList<QList<CoreRingFill>> coreRingRows(QRandomGenerator& random) {
    auto pinkRing = [&] {
        return CoreRingFill{systemColor::pink(), uniformReal(random, 0.1, 0.9)};
    };
    auto blueRing = [&] {
        return CoreRingFill{systemColor::blue(), uniformReal(random, 0.05, 0.4)};
    };
    QList<CoreRingFill> first;
    for (int i = 0; i < 4; ++i)
        first.append(pinkRing());
    for (int i = 0; i < 4; ++i)
        first.append(blueRing());
    QList<CoreRingFill> second;
    for (int i = 0; i < 3; ++i)
        second.append(blueRing());
    return {first, second};
}

QList<GaugeFigure> gpuGauges() {
    return {
        {QStringLiteral("11%"), 0.11},
        {QStringLiteral("7%"), 0.07},
        {QStringLiteral("102") + kDegree, 1.0},
        {QStringLiteral("0.34"), 0.34},
    };
}

QString gpuFrameRateText() {
    return QStringLiteral("60 FPS");
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

QString memoryProcessPlaceholder(QRandomGenerator& random) {
    return formatGigabytes(uniformReal(random, 0.1, 2.5));
}

DiskPlaceholder diskPlaceholder() {
    return {};
}

TrafficFigures diskProcessPlaceholder(QRandomGenerator& random) {
    const long long read = uniformWhole(random, 1, 50);
    const long long write = uniformWhole(random, 1, 200);
    return {QString::asprintf("%lldM", read), QString::asprintf("%lldK", write)};
}

TrafficFigures networkProcessPlaceholder(QRandomGenerator& random) {
    const long long up = uniformWhole(random, 0, 10);
    const long long down = uniformWhole(random, 1, 50);
    return {QString::asprintf("%lld K", up), QString::asprintf("%lld K", down)};
}

AddressPlaceholder addressPlaceholder() {
    // Example addresses from the documentation and private ranges; shown, never contacted.
    return {QStringLiteral("Wi-Fi"), QStringLiteral("203.0.113.42"),
            QString::fromUtf8("\xF0\x9F\x87\xBA\xF0\x9F\x87\xB8"), QStringLiteral("192.168.1.24")};
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
    return QStringLiteral("Open ") + processName;
}

} // namespace pw::ui
