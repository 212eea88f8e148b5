#pragma once

#include "services/fans/fan_speed.h"
#include "services/power/battery_info.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace pw {
struct MemoryFigures;
class StorageMonitor;
} // namespace pw

namespace pw::ui {

// One entry of the dashboard sidebar; a page is selected by its title.
struct SidebarItem {
    QString symbol;
    QString title;
};

// The pages in sidebar order.
const QList<SidebarItem>& sidebarItems();
// The page shown when the request names none.
QString defaultDashboardPage();
// Position of `title` in the sidebar, or -1.
int sidebarIndexOf(const QString& title);

// The alert-threshold slider works in hundredths of a percent so both ends map
// exactly onto 50.0 and 100.0.
inline constexpr int kThresholdSliderMinimum = 5000;
inline constexpr int kThresholdSliderMaximum = 10000;
double thresholdFromSliderPosition(int position);
// The nearest slider position; values outside the range sit at its ends.
int sliderPositionFromThreshold(double threshold);

// The memory bar turns red strictly above 70 %.
bool memoryPressureIsHigh(double pressure);
QColor memoryPressureColor(double pressure);
// Width of a bar fill for `percent` of `trackWidth`, kept inside the track.
double barFillWidth(double trackWidth, double percent);
// "12.3 GB / 16 GB": used, then the whole total.
QString memoryUsageText(const MemoryFigures& memory);
// "SOC", a line break, then the whole temperature and "°".
QString socBadgeText(std::optional<double> celsius);
// "Charging", "Discharging", "Charged" or "Not charging"; the dash without a
// battery or when it does not say.
QString batteryStateLabel(std::optional<BatteryState> state);

// "45% Used" from the used share (whole percent, cut toward zero).
QString diskUsedText(std::optional<double> usedFraction);
// "445 GB / 994 GB": used (total − available) and total in whole GB.
QString diskSizesText(const StorageMonitor& storage);
// The Fans page's lines: "Fan Speed: 2,240 RPM" for a single fan, one
// "<label>: 2,240 RPM" per fan for several, "No fan sensors" for none.
QStringList fanLines(const QList<FanSpeed>& fans);

// Controls held at one position. Each answers the position its control
// shows; clicking the control puts it back there.
namespace fixedControl {
bool headerSwitch();
int fanMode(); // index into fanModes()
QStringList fanModes();
} // namespace fixedControl

} // namespace pw::ui
