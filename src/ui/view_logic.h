#pragma once

#include <QColor>
#include <QList>
#include <QPolygonF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

class QRandomGenerator;

namespace pw::ui {

// ---- Number formats (printf-style, never localised) ----

QString formatPercent(double value);            // "%.0f%%"
QString formatPercentOneDecimal(double value);  // "%.1f%%"
QString formatGigabytes(double value);          // "%.1f GB"
QString formatDegreesOneDecimal(double value);  // "%.1f°"
QString formatKilobytesPerSecond(double value); // "%.1f KB/s"
// Whole part, fraction discarded toward zero; not-a-number reads as 0 and
// out-of-range values saturate rather than overflow.
long long truncateTowardZero(double value);

// ---- Menu-bar readout ----

QString menuBarCpuText(double cpuUsage);
QString menuBarTemperatureText(double socTemperature);

// ---- Sparkline ----

// The line's points for `data` on a fixed 0–100 scale in a frame of `frame`:
// first value on the left edge, last on the right, 100 on the top edge.
// Fewer than two values give no points. Values are not clamped.
QPolygonF sparklinePoints(const QList<double>& data, QSizeF frame);

// ---- Rings ----

// The share of the circle a gauge fills: percentage / 100, capped at a full
// ring; zero or below fills nothing.
double ringFraction(double percentage);
// Qt arc span in degrees (negative runs clockwise from 12 o'clock).
double ringArcSpanDegrees(double fraction);

// ---- CPU tab ----

QString cpuHeaderText(double socTemperature); // "1.89 GHz, 45°"
QString userSplitText(double cpuUsage);       // fixed 60 % of the load
QString systemSplitText(double cpuUsage);     // fixed 40 % of the load
QString cpuProcessValueText(double cpuUsage); // "%.1f%%"

struct CoreRingFill {
    QColor color;
    double fraction = 0.0;
};
// Placeholder core rings: four pink and four blue in the first row, three blue
// in the second, each with a fresh random fill (no per-core load is sampled).
QList<QList<CoreRingFill>> coreRingRows(QRandomGenerator& random);

struct GaugeFigure {
    QString text;
    double fraction = 0.0;
};
// Placeholder GPU strip: fixed gauges and frame rate (nothing is measured).
QList<GaugeFigure> gpuGauges();
QString gpuFrameRateText();

// ---- Memory tab ----

// Used / max(total, 1) × 100: before the first sample total is 0.
double memoryUsedPercentage(double used, double total);
double freeMemory(double total, double used); // not clamped

struct LegendEntry {
    QColor color;
    QString label;
    QString value;
};
QList<LegendEntry> memoryLegend(double app, double wired, double compressed, double total,
                                double used);

QString swapText(double swapGigabytes);       // "6.3 GB of 4.0 GB"
double swapBarFraction(double swapGigabytes); // against a fixed 4 GB, capped at 1
// Placeholder per-process memory: uniform in 0.1–2.5 GB.
QString memoryProcessPlaceholder(QRandomGenerator& random);

// ---- Disk tab (placeholder figures; no storage is sampled) ----

struct DiskPlaceholder {
    double ringFraction = 0.79;
    QString ringText = QStringLiteral("79");
    QString volumeName = QStringLiteral("Macintosh HD");
    QString available = QStringLiteral("60.1 GB available");
    QString readRate = QStringLiteral("58.5 MB/s");
    QString writeRate = QStringLiteral("491 KB/s");
    QString readTotal = QStringLiteral("Read 174 MB/s");
    QString writeTotal = QStringLiteral("Write 242 MB/s");
};
DiskPlaceholder diskPlaceholder();

struct TrafficFigures {
    QString first;
    QString second;
};
// Placeholder per-process disk figures: read 1–50 "M", write 1–200 "K".
TrafficFigures diskProcessPlaceholder(QRandomGenerator& random);

// ---- Network tab ----

// Placeholder per-process traffic: upload 0–10 " K", download 1–50 " K".
TrafficFigures networkProcessPlaceholder(QRandomGenerator& random);

struct AddressPlaceholder {
    QString interfaceName;
    QString publicAddress;
    QString publicFlag;
    QString localAddress;
};
AddressPlaceholder addressPlaceholder();

// ---- Process rows ----

QString processDisplayText(const QString& name, const QString& fullPath, bool showFullProcessPath);
// Full paths keep their end visible, names their start.
Qt::TextElideMode processElideMode(bool showFullProcessPath);

// ---- Popup shell ----

enum class TabContent { cpu, network, disk, memory, none };

struct TabEntry {
    QString symbol;
    QColor color;
    TabContent content = TabContent::none;
};
QList<TabEntry> tabList();
TabContent tabContentFor(int index); // out of range shows nothing

QString listButtonSymbol(bool showFullProcessPath);

// ---- Launchers ----

struct LaunchCommand {
    QString program;
    QStringList arguments;
};
// Only an installed desktop entry (an absolute path to a .desktop file) is
// ever launched, through `gio launch`; anything else gives no command.
std::optional<LaunchCommand> launchCommandFor(const QString& desktopEntry);
QString launcherToolTip(const QString& processName);

} // namespace pw::ui
