#pragma once

#include "app/command_line.h"
#include "platform/desktop_notifier.h"
#include "platform/sources.h"
#include "services/engine_models.h"

#include <QPointer>

#include <memory>

namespace pw {
class HistoryRecorder;
class HistoryService;
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
    // The engine's models with the history store.
    StatsModels models();
    // Absent unless this run records (the desktop program, or --record).
    HistoryRecorder* historyRecorder() { return m_recorder.get(); }

    std::unique_ptr<ProcessMonitor> makeProcessMonitor() const;
    // The latest one made is where the history takes the latency from.
    std::unique_ptr<PingService> makePingService() const;

private:
    QString m_latencyHost;
    platform::Sources m_sources;
    std::shared_ptr<platform::DesktopNotifier> m_notifier;
    // Outlive the engine, whose cycle feeds the recorder.
    std::unique_ptr<HistoryRecorder> m_recorder;
    std::unique_ptr<HistoryService> m_history;
    mutable QPointer<PingService> m_latencySource;
    std::unique_ptr<EngineModels> m_engine;
};

} // namespace pw::app
