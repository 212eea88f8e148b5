#include "services/gpu/gpu_monitor.h"

#include "services/engine/assign_notify.h"

namespace pw {

std::optional<double> vramFraction(const platform::GpuDevice& device) {
    if (!device.vramUsedBytes || !device.vramTotalBytes || *device.vramTotalBytes == 0)
        return std::nullopt;
    return static_cast<double>(*device.vramUsedBytes) / static_cast<double>(*device.vramTotalBytes);
}

void GpuMonitor::apply(const Snapshot& s) {
    using M = GpuMonitor;
    const platform::GpuDevice* shown = s.gpu.shownDevice();
    const auto figure = [shown](std::optional<double> platform::GpuDevice::*field) {
        return shown ? shown->*field : std::nullopt;
    };
    assignNotify(this, m_gpuName, shown ? QString::fromStdString(shown->name) : QString(),
                 &M::gpuNameChanged);
    assignNotify(this, m_gpuBusy, figure(&platform::GpuDevice::busyPercent), &M::gpuBusyChanged);
    assignNotify(this, m_gpuBusyIsPartial, shown && shown->busyIsPartial, &M::gpuBusyChanged);
    assignNotify(this, m_gpuMemoryBusy, figure(&platform::GpuDevice::memoryBusyPercent),
                 &M::gpuMemoryBusyChanged);
    assignNotify(this, m_gpuTemperature, figure(&platform::GpuDevice::temperatureCelsius),
                 &M::gpuTemperatureChanged);
    assignNotify(this, m_gpuVramFraction, shown ? vramFraction(*shown) : std::nullopt,
                 &M::gpuVramFractionChanged);
    assignNotify(this, m_gpuPowerWatts, figure(&platform::GpuDevice::powerWatts),
                 &M::gpuPowerWattsChanged);
    assignNotify(this, m_gpus, s.gpu.devices, &M::gpusChanged);
    assignNotify(this, m_gpuProcesses, s.gpu.processes, &M::gpuProcessesChanged);
}

} // namespace pw
