#pragma once

#include "services/fan_speed.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

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

// What the dashboard shows for a figure without a source: an em dash.
QString dashText();
// "45% Used" from the used share (whole percent, cut toward zero); the dash
// when the share is unknown (negative).
QString diskUsedText(double usedFraction);
// "445 GB / 994 GB": used (total − available) and total in whole GB; the dash
// when the share is unknown.
QString diskSizesText(double totalGB, double availableGB, double usedFraction);

// 2240 as "2,240", whatever the locale.
QString groupedThousands(qint64 value);
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
