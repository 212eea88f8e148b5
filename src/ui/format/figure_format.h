#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace pw::ui {

// How every view writes a figure. Numbers follow printf in the C locale
// whatever the desktop's locale; a figure the machine cannot give is the dash
// alone, without its unit.

inline constexpr double kKiB = 1024.0;
inline constexpr double kMiB = 1024.0 * kKiB;
inline constexpr double kGiB = 1024.0 * kMiB;

inline constexpr QStringView kDegreeSign = u"\u00B0";

// An em dash.
QString dash();
// `text`, or the dash when it is empty or absent.
QString orDash(const QString& text);
QString orDash(const std::optional<QString>& text);

// The whole part, cut toward zero. Not-a-number reads as 0 and values beyond
// the 64-bit range as its nearest limit, so no figure can break a text.
qint64 wholeNumber(double value);

// "%.<decimals>f" (ties round to even on the binary value, as printf does).
QString fixed(double value, int decimals);

// The figure then `suffix`, or the dash.
QString fixedText(std::optional<double> value, int decimals, QStringView suffix = {});
// The whole number (cut toward zero) then `suffix`, or the dash.
QString wholeText(std::optional<double> value, QStringView suffix = {});
template <typename Integer>
QString wholeText(std::optional<Integer> value, QStringView suffix = {}) {
    return value ? QString::number(*value).append(suffix) : dash();
}
// "%.0f%%": 37.5 reads "38%".
QString percentText(std::optional<double> value);

// A byte rate in binary units: below 1024 KB/s "%.0f KB/s", below 100 MB/s
// "%.1f MB/s", else "%.0f MB/s". Negative or absent is unknown.
QString byteRateText(std::optional<double> bytesPerSecond);

// 2240 as "2,240", whatever the locale.
QString groupedThousands(qint64 value);

} // namespace pw::ui
