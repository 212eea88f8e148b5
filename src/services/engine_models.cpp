#include "services/engine_models.h"

namespace pw {

EngineModels::EngineModels(const platform::Sources& sources,
                           std::shared_ptr<platform::DesktopNotifier> notifier,
                           std::function<double()> alertThreshold)
    : stats(sources, std::move(notifier), std::move(alertThreshold)) {
    stats.addSnapshotConsumer([this](const Snapshot& s) {
        cpu.apply(s);
        gpu.apply(s);
        storage.apply(s);
        network.apply(s);
        fans.apply(s);
    });
}

} // namespace pw
