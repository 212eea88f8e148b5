#include "ui/format/figure_format.h"

#include "services/terminal_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace pw::ui {

QString dash() {
    return QString(QChar(0x2014));
}

QString orDash(const QString& text) {
    // Names come from the machine: control characters show as \xNN escapes.
    return text.isEmpty() ? dash() : terminalSafe(text);
}

QString orDash(const std::optional<QString>& text) {
    return text ? orDash(*text) : dash();
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

QString fixed(double value, int decimals) {
    char buffer[400]; // the longest double in fixed notation, with room for decimals
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QStringLiteral("nan");
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString fixedText(std::optional<double> value, int decimals, QStringView suffix) {
    return value ? fixed(*value, decimals).append(suffix) : dash();
}

QString wholeText(std::optional<double> value, QStringView suffix) {
    return value ? QString::number(wholeNumber(*value)).append(suffix) : dash();
}

QString percentText(std::optional<double> value) {
    return fixedText(value, 0, u"%");
}

QString byteRateText(std::optional<double> bytesPerSecond) {
    if (!bytesPerSecond || !(*bytesPerSecond >= 0.0))
        return dash();
    const double kilobytes = *bytesPerSecond / kKiB;
    if (kilobytes < 1024.0)
        return fixed(kilobytes, 0) + QStringLiteral(" KB/s");
    const double megabytes = *bytesPerSecond / kMiB;
    return fixed(megabytes, megabytes < 100.0 ? 1 : 0) + QStringLiteral(" MB/s");
}

QString groupedThousands(qint64 value) {
    // Through the unsigned magnitude, so the most negative value has one too.
    const quint64 magnitude =
        value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    QString digits = QString::number(magnitude);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace pw::ui
