#pragma once

#include "platform/clock.h"
#include "platform/connection_source.h"
#include "platform/cpu_source.h"
#include "platform/fan_source.h"
#include "platform/gpu_source.h"
#include "platform/memory_source.h"
#include "platform/network_source.h"
#include "platform/power_source.h"
#include "platform/process_source.h"
#include "platform/storage_source.h"
#include "platform/thermal_source.h"

#include <memory>

namespace pw::platform {

// Every reading of the machine, one source per area, built once by the
// composition root (Linux) or a test (fakes) and handed down.
struct Sources {
    std::shared_ptr<CpuSource> cpu;
    std::shared_ptr<MemorySource> memory;
    std::shared_ptr<NetworkSource> network;
    std::shared_ptr<ConnectionSource> connections;
    std::shared_ptr<PowerSource> power;
    std::shared_ptr<ThermalSource> thermal;
    std::shared_ptr<StorageSource> storage;
    std::shared_ptr<GpuSource> gpu;
    std::shared_ptr<FanSource> fans;
    std::shared_ptr<ProcessSource> processes;
    std::shared_ptr<Clock> clock;
};

} // namespace pw::platform
