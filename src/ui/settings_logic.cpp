#include "ui/settings_logic.h"

#include "services/system_colors.h"
#include "services/terminal_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

qint64 wholeNumber(double value) {
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit)
        return std::numeric_limits<qint64>::max();
    if (value < -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

QString wholeText(double value, const QString& suffix) {
    return QString::number(wholeNumber(value)) + suffix;
}

QString fixedText(double value, int decimals, const QString& suffix) {
    return QString::asprintf("%.*f", decimals, value) + suffix;
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

QString memoryUsageText(double usedGB, double totalGB) {
    return fixedText(usedGB, 1, QStringLiteral(" GB / ")) +
           wholeText(totalGB, QStringLiteral(" GB"));
}

QString socBadgeText(double celsius) {
    return QStringLiteral("SOC\n") + wholeText(celsius, QStringLiteral("°"));
}

QString chargingText(bool charging) {
    return charging ? QStringLiteral("Charging") : QStringLiteral("Discharging");
}

QString dashText() {
    return QString(QChar(0x2014));
}

QString diskUsedText(double usedFraction) {
    if (!(usedFraction >= 0.0))
        return dashText();
    return wholeText(usedFraction * 100.0, QStringLiteral("% Used"));
}

QString diskSizesText(double totalGB, double availableGB, double usedFraction) {
    if (!(usedFraction >= 0.0))
        return dashText();
    return wholeText(totalGB - availableGB, QStringLiteral(" GB / ")) +
           wholeText(totalGB, QStringLiteral(" GB"));
}

QString groupedThousands(qint64 value) {
    // Through the unsigned magnitude, so the most negative value has one too.
    quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    QString digits = QString::number(magnitude);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QStringList fanLines(const QList<FanSpeed>& fans) {
    const QString rpm = QStringLiteral(" RPM");
    if (fans.isEmpty())
        return {QStringLiteral("No fan sensors")};
    if (fans.size() == 1)
        return {QStringLiteral("Fan Speed: ") + groupedThousands(fans[0].rpm) + rpm};
    QStringList lines;
    for (const FanSpeed& fan : fans)
        lines << terminalSafe(fan.label) + QStringLiteral(": ") + groupedThousands(fan.rpm) + rpm;
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
