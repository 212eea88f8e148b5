#include "services/metrics/gpu_metrics.h"

#include <array>

namespace pw::metrics {
namespace {

using Device = platform::GpuDevice;

std::optional<double> bytes(const std::optional<std::uint64_t>& value) {
    return value ? std::optional<double>(static_cast<double>(*value)) : std::nullopt;
}

std::optional<double> scaled(const std::optional<double>& value, double factor) {
    return value ? std::optional<double>(*value * factor) : std::nullopt;
}

struct GpuFamily {
    std::string_view name;
    std::string_view help;
    std::optional<double> (*read)(const Device&);
};

const std::array kFamilies = {
    GpuFamily{"pulsewick_gpu_suspended",
              "1 while the GPU is asleep; its other figures are then absent.",
              [](const Device& d) { return std::optional<double>(d.suspended ? 1.0 : 0.0); }},
    GpuFamily{"pulsewick_gpu_busy_ratio", "Share of time the GPU's engines were busy.",
              [](const Device& d) { return scaled(d.busyPercent, 0.01); }},
    GpuFamily{"pulsewick_gpu_memory_busy_ratio",
              "Share of time the GPU's memory controller was busy.",
              [](const Device& d) { return scaled(d.memoryBusyPercent, 0.01); }},
    GpuFamily{"pulsewick_gpu_temperature_celsius", "Temperature of the GPU.",
              [](const Device& d) { return d.temperatureCelsius; }},
    GpuFamily{"pulsewick_gpu_memory_used_bytes", "GPU memory in use.",
              [](const Device& d) { return bytes(d.vramUsedBytes); }},
    GpuFamily{"pulsewick_gpu_memory_total_bytes", "GPU memory installed.",
              [](const Device& d) { return bytes(d.vramTotalBytes); }},
    GpuFamily{"pulsewick_gpu_power_watts", "Power drawn by the GPU.",
              [](const Device& d) { return d.powerWatts; }},
    GpuFamily{"pulsewick_gpu_frequency_hertz", "Current clock of the GPU.",
              [](const Device& d) { return scaled(d.clockMHz, 1e6); }},
    GpuFamily{"pulsewick_gpu_fan_speed_rpm", "Speed of the GPU's own fan.",
              [](const Device& d) { return d.fanRpm; }},
};

QString text(const std::string& value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

} // namespace

void writeGpuMetrics(ExpositionWriter& writer, const GpuFigures& gpus) {
    writer.family("pulsewick_gpu", MetricType::Info,
                  "Every GPU: its card, driver and readable name.");
    for (const Device& d : gpus.devices)
        writer.sample(1.0,
                      {{"gpu", text(d.card)}, {"driver", text(d.driver)}, {"name", text(d.name)}});
    for (const GpuFamily& family : kFamilies) {
        writer.family(family.name, MetricType::Gauge, family.help);
        for (const Device& d : gpus.devices)
            if (const std::optional<double> value = family.read(d))
                writer.sample(*value, {{"gpu", text(d.card)}, {"driver", text(d.driver)}});
    }
}

} // namespace pw::metrics
