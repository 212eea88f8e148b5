#pragma once

#include <QColor>
#include <QList>
#include <QPolygonF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace pw {
struct MemoryFigures;
struct ProcessInfoData;
class NetworkDetailsMonitor;
} // namespace pw

namespace pw::ui {

// ---- Sparkline ----

// The line's points for `data` on a 0–`scaleMaximum` scale in a frame of
// `frame`: first value on the left edge, last on the right, the maximum on the
// top edge. Fewer than two values (or a maximum not above 0) give no points.
// Values are not clamped.
QPolygonF sparklinePoints(const QList<double>& data, QSizeF frame, double scaleMaximum = 100.0);
// The top of a rate chart: its largest value, at least 1.
double rateChartScale(const QList<double>& data);

// ---- Rings ----

// The share of the circle a gauge fills: percentage / 100, capped at a full
// ring; zero or below fills nothing.
double ringFraction(double percentage);
// Qt arc span in degrees (negative runs clockwise from 12 o'clock).
double ringArcSpanDegrees(double fraction);

// ---- CPU tab ----

struct CoreRingFill {
    QColor color;
    double fraction = 0.0;
};
// One ring per CPU in the order given: its load as a share of the ring,
// pink for an efficiency core, blue otherwise.
QList<CoreRingFill> coreRingFills(const QList<double>& usages, const QList<bool>& isEfficiency);

// How the core rings are laid out across the 300-point section: rows of at
// most ten 24-point rings; past 30 CPUs three rows of rings shrunk (down to
// 8 points) so that they still fit.
struct CoreRingGrid {
    int diameter = 24;
    double lineWidth = 4.0;
    int spacing = 6;
    QList<int> rows; // rings in each row, top to bottom
};
inline constexpr int kCoreSectionWidth = 300;
CoreRingGrid coreRingGrid(qsizetype count);

// A round gauge: its text and the share of the circle it fills. An unknown
// figure is the dash over an empty arc.
struct GaugeFigure {
    QString text;
    double fraction = 0.0;
};

// ---- Memory tab ----

// Used / max(total, 1) × 100: before the first sample total is 0.
double memoryUsedPercentage(const MemoryFigures& memory);

struct LegendEntry {
    QColor color;
    QString label;
    QString value;
};
// App, wired, compressed and free (total − used, not clamped) memory.
QList<LegendEntry> memoryLegend(const MemoryFigures& memory);

// "2.0 GB of 11.6 GB"; "No swap" on a machine without any; the dash when the
// total is unknown.
QString swapText(double swapGigabytes, std::optional<double> totalGigabytes);
// Used over the machine's swap total, 0–1; 0 without swap.
double swapBarFraction(double swapGigabytes, std::optional<double> totalGigabytes);
// A process's resident memory: "%.0f MB" below 1 GB, "%.1f GB" from there
// (1024-based units); negative is unknown.
QString residentMemoryText(qint64 residentBytes);

// ---- Disk tab ----

// The ring: the used share, its text the whole percent without a sign ("79").
GaugeFigure diskRingFigure(std::optional<double> usedFraction);
// "%.1f GB available"
QString diskAvailableText(std::optional<double> availableGigabytes);

struct TrafficFigures {
    QString first;
    QString second;
};
// A process's storage rates: read in whole MB/s ("12M"), write in whole KB/s
// ("340K"), each moving to the next unit (M, G, T) rather than pass four
// digits; each unknown rate shows the dash.
TrafficFigures diskProcessFigures(const ProcessInfoData& process);
// The unit letters a process figure can end in, for measuring its column.
inline constexpr QStringView kProcessFigureUnits = u"KMGT";

// ---- Network tab ----

struct InterfaceFigure {
    QString symbol;
    QString text;
};
// Wi-Fi by its symbol and name, a wired link by its interface name, no route as a dash.
InterfaceFigure interfaceFigure(const NetworkDetailsMonitor& network);

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

// A tooltip for text from the machine: control characters escaped, and shown
// as plain text even when it looks like markup.
QString plainToolTip(const QString& text);

} // namespace pw::ui
