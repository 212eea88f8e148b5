#include "app/counters.h"

#include "platform/linux/linux_system_counters.h"
#include "platform/linux/refused_files.h"
#include "services/log_line.h"

namespace pw::app {
namespace {
QString g_root = QStringLiteral("/");
}

void useCountersRoot(const QString& root) {
    g_root = root;
}

std::shared_ptr<platform::SystemCounters> sharedCounters() {
    static std::shared_ptr<platform::SystemCounters> counters = [] {
        // Refused counter files (a FIFO, an endless file) are reported in the
        // program's log, where the JSON stream expects them.
        platform::setRefusedFileLog(
            [](const std::string& line) { logLine(QString::fromStdString(line)); });
        return std::make_shared<platform::LinuxSystemCounters>(g_root.toStdString());
    }();
    return counters;
}

} // namespace pw::app
