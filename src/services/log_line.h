#pragma once

#include <QString>

#include <functional>

namespace pw {

// The program's log: one line per failure, on standard output unless the
// headless JSON stream needs standard output to itself. Control characters in
// a line are escaped (terminal_text.h), so a line is always one line.
enum class LogTarget { StandardOutput, StandardError };

void setLogTarget(LogTarget target);
void logLine(const QString& line);

// Replaces the output for tests; an empty function restores it.
void setLogSink(std::function<void(const QString&)> sink);

} // namespace pw
