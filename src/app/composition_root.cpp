#include "app/composition_root.h"

#include "platform/linux/dbus_desktop_notifier.h"
#include "platform/linux/linux_sources.h"
#include "platform/linux/refused_files.h"
#include "services/log_line.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/process_monitor.h"

namespace pw::app {
namespace {
// Counter files refused for being FIFOs or endless go to the program's log,
// where the JSON stream expects log lines.
void reportRefusedFiles() {
    platform::setRefusedFileLog(
        [](const std::string& line) { logLine(QString::fromStdString(line)); });
}
} // namespace

CompositionRoot::CompositionRoot(const CommandLineOptions& options, Preferences& preferences)
    : m_latencyHost(options.latencyHost.value_or(QString::fromLatin1(PingService::kDefaultHost))),
      m_sources((reportRefusedFiles(), platform::makeLinuxSources(options.root.toStdString()))),
      m_notifier(std::make_shared<platform::DBusDesktopNotifier>()) {
    Preferences* prefs = &preferences;
    m_engine = std::make_unique<EngineModels>(m_sources, m_notifier,
                                              [prefs] { return prefs->cpuAlertThreshold(); });
    m_engine->stats.setAlertSwitches([prefs] { return prefs->highCpuAlertsEnabled(); },
                                     [prefs] { return prefs->diskSpaceLowAlertsEnabled(); });
    m_engine->stats.startPolling();
}

CompositionRoot::~CompositionRoot() = default;

std::unique_ptr<ProcessMonitor> CompositionRoot::makeProcessMonitor() const {
    auto monitor = std::make_unique<ProcessMonitor>(m_sources);
    monitor->setDemand(&m_engine->stats.demand());
    return monitor;
}

std::unique_ptr<PingService> CompositionRoot::makePingService() const {
    return std::make_unique<PingService>(m_latencyHost);
}

} // namespace pw::app
