#pragma once

#include <QColor>
#include <QList>
#include <QString>

namespace pw::ui {

// One entry of the dashboard sidebar; a page is selected by its title.
struct SidebarItem {
    QString symbol;
    QString title;
};

// The ten pages in sidebar order.
const QList<SidebarItem>& sidebarItems();
// The page shown when the request names none.
QString defaultDashboardPage();
// Position of `title` in the sidebar, or -1.
int sidebarIndexOf(const QString& title);

// Truncates toward zero. Not-a-number reads as 0 and values beyond the 64-bit
// range as its nearest limit, so an undefined sensor figure never breaks a text.
qint64 wholeNumber(double value);
// The truncated value in plain decimal followed by `suffix`.
QString wholeText(double value, const QString& suffix = {});
// The value with `decimals` fraction digits ("%.2f") followed by `suffix`.
QString fixedText(double value, int decimals, const QString& suffix = {});

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
// "12.3 GB / 16 GB"
QString memoryUsageText(double usedGB, double totalGB);
// "SOC", a line break, then the whole temperature and "°".
QString socBadgeText(double celsius);
QString chargingText(bool charging);
// The host name of the n-th row of the Network page's connection list.
QString connectionHostName(qint64 number);

// Controls that do not yet reflect anything real. Each answers the position its
// control shows; clicking the control puts it back there.
namespace fixedControl {
bool headerSwitch();
bool launchAtLogin();
bool highCpuAlerts();
bool networkConnectionAlerts();
bool diskSpaceLowAlerts();
bool highPrecisionMode();
int fanMode(); // index into fanModes()
QStringList fanModes();
} // namespace fixedControl

} // namespace pw::ui
