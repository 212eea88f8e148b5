#include "ui/settings_logic.h"

#include "services/engine/snapshot.h"
#include "services/storage/storage_monitor.h"
#include "services/system_colors.h"
#include "services/terminal_text.h"
#include "ui/format/figure_format.h"

#include <algorithm>
#include <cmath>

namespace pw::ui {

const QList<SidebarItem>& sidebarItems() {
    static const QList<SidebarItem> items = {
        {QStringLiteral("gearshape.fill"), QStringLiteral("Settings")},
        {QStringLiteral("bell.fill"), QStringLiteral("Alerts")},
        {QStringLiteral("cloud.fill"), QStringLiteral("Cloud")},
        {QStringLiteral("cpu"), QStringLiteral("Sensors")},
        {QStringLiteral("memorychip"), QStringLiteral("Memory")},
        {QStringLiteral("externaldrive.fill"), QStringLiteral("Disk")},
        {QStringLiteral("fanblades.fill"), QStringLiteral("Fans")},
        {QStringLiteral("bolt.fill"), QStringLiteral("Power")},
        {QStringLiteral("clock.fill"), QStringLiteral("History")},
        {QStringLiteral("link"), QStringLiteral("Network")},
        {QStringLiteral("display"), QStringLiteral("GPU")},
    };
    return items;
}

QString defaultDashboardPage() {
    return QStringLiteral("Sensors");
}

int sidebarIndexOf(const QString& title) {
    const auto& items = sidebarItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].title == title)
            return i;
    }
    return -1;
}

double thresholdFromSliderPosition(int position) {
    // Dividing the exact integer gives the correctly rounded decimal (99.7, not 99.69999).
    return static_cast<double>(position) / 100.0;
}

int sliderPositionFromThreshold(double threshold) {
    if (std::isnan(threshold))
        return kThresholdSliderMinimum;
    const double hundredths = threshold * 100.0;
    if (hundredths <= kThresholdSliderMinimum)
        return kThresholdSliderMinimum;
    if (hundredths >= kThresholdSliderMaximum)
        return kThresholdSliderMaximum;
    return static_cast<int>(std::lround(hundredths));
}

bool memoryPressureIsHigh(double pressure) {
    return pressure > 70.0;
}

QColor memoryPressureColor(double pressure) {
    return memoryPressureIsHigh(pressure) ? systemColor::red() : systemColor::green();
}

double barFillWidth(double trackWidth, double percent) {
    if (!(trackWidth > 0.0) || std::isnan(percent))
        return 0.0;
    const double width = trackWidth * percent / 100.0;
    return std::clamp(width, 0.0, trackWidth);
}

QString memoryUsageText(const MemoryFigures& memory) {
    return fixedText(memory.usedGB, 1, u" GB / ") + wholeText(memory.totalGB, u" GB");
}

QString socBadgeText(std::optional<double> celsius) {
    return QStringLiteral("SOC\n") + wholeText(celsius, kDegreeSign);
}

QString batteryStateLabel(std::optional<BatteryState> state) {
    return state ? QString::fromLatin1(batteryStateText(*state)) : dash();
}

QString diskUsedText(std::optional<double> usedFraction) {
    return usedFraction ? wholeText(*usedFraction * 100.0, u"% Used") : dash();
}

QString diskSizesText(const StorageMonitor& storage) {
    const auto total = storage.diskTotal();
    const auto available = storage.diskAvailable();
    if (!total || !available)
        return dash();
    return wholeText(*total - *available, u" GB / ") + wholeText(*total, u" GB");
}

QStringList fanLines(const QList<FanSpeed>& fans) {
    const auto speed = [](const FanSpeed& fan) {
        return fan.rpm ? groupedThousands(*fan.rpm) + QStringLiteral(" RPM") : dash();
    };
    if (fans.isEmpty())
        return {QStringLiteral("No fan sensors")};
    if (fans.size() == 1)
        return {QStringLiteral("Fan Speed: ") + speed(fans[0])};
    QStringList lines;
    for (const FanSpeed& fan : fans)
        lines << terminalSafe(fan.label) + QStringLiteral(": ") + speed(fan);
    return lines;
}

namespace fixedControl {
bool headerSwitch() {
    return true;
}
int fanMode() {
    return 0;
}
QStringList fanModes() {
    return {QStringLiteral("Automatic"), QStringLiteral("Performance"), QStringLiteral("Silent")};
}
} // namespace fixedControl

} // namespace pw::ui
