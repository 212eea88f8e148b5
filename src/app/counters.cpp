#include "app/counters.h"

#include "platform/linux/linux_system_counters.h"

namespace pw::app {
namespace {
QString g_root = QStringLiteral("/");
}

void useCountersRoot(const QString& root) {
    g_root = root;
}

std::shared_ptr<platform::SystemCounters> sharedCounters() {
    static std::shared_ptr<platform::SystemCounters> counters =
        std::make_shared<platform::LinuxSystemCounters>(g_root.toStdString());
    return counters;
}

} // namespace pw::app
