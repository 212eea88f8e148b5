#include "platform/linux/linux_sources.h"

#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_connection_source.h"
#include "platform/linux/linux_cpu_source.h"
#include "platform/linux/linux_fan_source.h"
#include "platform/linux/linux_gpu_source.h"
#include "platform/linux/linux_memory_source.h"
#include "platform/linux/linux_network_source.h"
#include "platform/linux/linux_power_source.h"
#include "platform/linux/linux_process_source.h"
#include "platform/linux/linux_storage_source.h"
#include "platform/linux/linux_thermal_source.h"

#include <memory>

namespace pw::platform {

Sources makeLinuxSources(const std::string& root) {
    const RootPath path(root);
    const auto clock = std::make_shared<LinuxClock>();
    Sources sources;
    sources.cpu = std::make_shared<LinuxCpuSource>(path, clock);
    sources.memory = std::make_shared<LinuxMemorySource>(path, clock);
    sources.network = std::make_shared<LinuxNetworkSource>(path);
    sources.connections = std::make_shared<LinuxConnectionSource>(path);
    sources.power = std::make_shared<LinuxPowerSource>(path, clock);
    sources.thermal = std::make_shared<LinuxThermalSource>(path, clock);
    sources.storage = std::make_shared<LinuxStorageSource>(path, clock);
    sources.gpu = std::make_shared<LinuxGpuSource>(path, clock);
    sources.fans = std::make_shared<LinuxFanSource>(path, clock);
    sources.processes = std::make_shared<LinuxProcessSource>(path);
    sources.clock = clock;
    return sources;
}

} // namespace pw::platform
