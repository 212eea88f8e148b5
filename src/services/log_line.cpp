#include "services/log_line.h"

#include "services/terminal_text.h"

#include <cstdio>

namespace pw {
namespace {
LogTarget g_target = LogTarget::StandardOutput;
std::function<void(const QString&)> g_sink;
} // namespace

void setLogTarget(LogTarget target) {
    g_target = target;
}

void setLogSink(std::function<void(const QString&)> sink) {
    g_sink = std::move(sink);
}

void logLine(const QString& line) {
    if (g_sink) {
        g_sink(line);
        return;
    }
    std::FILE* out = g_target == LogTarget::StandardOutput ? stdout : stderr;
    // Log lines quote paths and names from the machine.
    const QByteArray bytes = terminalSafe(line).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
    std::fputc('\n', out);
    std::fflush(out);
}

} // namespace pw
