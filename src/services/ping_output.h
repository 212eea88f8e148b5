#pragma once

#include <QByteArray>

#include <optional>

namespace pw {

// The round-trip time in the output of `ping`: the text between the first
// "time=" and the next " ms", when the output is UTF-8 and that text is a whole
// finite number. Absent otherwise.
std::optional<double> parseLatency(const QByteArray& output);

} // namespace pw
