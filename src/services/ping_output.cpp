#include "services/ping_output.h"

#include <QStringDecoder>

#include <cmath>

namespace pw {

std::optional<double> parseLatency(const QByteArray& output) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(output);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    static const QString kTime = QStringLiteral("time=");
    static const QString kMs = QStringLiteral(" ms");
    const qsizetype time = text.indexOf(kTime);
    if (time < 0) {
        return std::nullopt;
    }
    const qsizetype start = time + kTime.size();
    const qsizetype end = text.indexOf(kMs, start);
    if (end < 0) {
        return std::nullopt;
    }
    const QStringView number = QStringView(text).mid(start, end - start);
    // toDouble forgives surrounding blanks; the whole text must be the number.
    if (number.isEmpty() || number.front().isSpace() || number.back().isSpace()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace pw
