#pragma once

#include "app/command_line.h"
#include "platform/desktop_notifier.h"
#include "platform/sources.h"
#include "services/engine_models.h"

#include <memory>

namespace pw {
class PingService;
class ProcessMonitor;
class Preferences;
} // namespace pw

namespace pw::app {

// The one place the running program's engine is built: the Linux sources
// under the chosen root, the desktop notifier, the preferences, and the
// model objects over them. Everything below gets what it needs handed down.
class CompositionRoot {
public:
    CompositionRoot(const CommandLineOptions& options, Preferences& preferences);
    ~CompositionRoot();

    const platform::Sources& sources() const { return m_sources; }
    EngineModels& engine() { return *m_engine; }
    StatsModels models() { return m_engine->models(); }

    std::unique_ptr<ProcessMonitor> makeProcessMonitor() const;
    std::unique_ptr<PingService> makePingService() const;

private:
    QString m_latencyHost;
    platform::Sources m_sources;
    std::shared_ptr<platform::DesktopNotifier> m_notifier;
    std::unique_ptr<EngineModels> m_engine;
};

} // namespace pw::app
