#include "services/figures/figure_catalogue.h"

#include "platform/gpu_fields.h"

#include <QJsonObject>

#include <array>
#include <cmath>

namespace pw {
namespace {

FigureValue number(double value) {
    return std::isfinite(value) ? FigureValue(value) : FigureValue();
}
FigureValue number(std::optional<double> value) {
    return value ? number(*value) : FigureValue();
}
FigureValue whole(std::optional<qint64> value) {
    return value ? FigureValue(*value) : FigureValue();
}
FigureValue total(std::optional<std::uint64_t> value) {
    return value ? FigureValue(static_cast<double>(*value)) : FigureValue();
}
FigureValue text(const QString& value) {
    return value.isEmpty() ? FigureValue() : FigureValue(value);
}
FigureValue numbers(const QList<double>& values) {
    QJsonArray array;
    for (double v : values)
        array.append(std::isfinite(v) ? QJsonValue(v) : QJsonValue());
    return array;
}
const platform::GpuDevice* gpu(const FigureInputs& in) {
    return in.snapshot.gpu.shownDevice();
}
FigureValue gpuFigure(const FigureInputs& in, std::optional<double> platform::GpuDevice::*field) {
    const platform::GpuDevice* d = gpu(in);
    return d ? number(d->*field) : FigureValue();
}

// Writes one GPU field into a JSON object: null where unknown.
struct GpuFieldToJson {
    QJsonObject& object;
    void operator()(const char* key, const std::string& value) const {
        put(key, value.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(value)));
    }
    void operator()(const char* key, bool value) const { put(key, value); }
    void operator()(const char* key, std::optional<double> value) const {
        put(key, value && std::isfinite(*value) ? QJsonValue(*value) : QJsonValue());
    }
    void operator()(const char* key, std::optional<std::uint64_t> value) const {
        put(key, value ? QJsonValue(static_cast<double>(*value)) : QJsonValue());
    }
    void put(const char* key, const QJsonValue& value) const {
        object.insert(QLatin1String(key), value);
    }
};
FigureValue gpuList(const std::vector<platform::GpuDevice>& devices) {
    QJsonArray gpus;
    for (const platform::GpuDevice& device : devices) {
        QJsonObject object;
        platform::forEachGpuField(device, GpuFieldToJson{object});
        gpus.append(object);
    }
    return gpus;
}

using K = FigureKind;
using U = FigureUnit;

// clang-format off
const std::array kFigures = {
    Figure{"cpuUsage", "CPU", U::Percent, K::Gauge, false, "Mean load of all CPUs over the last cycle.", "never (0 until the second cycle)", 1,
        [](const FigureInputs& in) { return number(in.snapshot.cpu.usagePercent); }, nullptr, {"cpu_usage"}},
    Figure{"cpuHistory", "", U::Percent, K::List, false, "The last 60 CPU loads, oldest first.", "never", 1,
        [](const FigureInputs& in) { return numbers(in.snapshot.cpu.historyPercent); }},
    Figure{"eClusterUsage", "E-cores", U::Percent, K::Gauge, true, "Mean load of the efficiency cores.", "on a CPU without efficiency cores, and before the second cycle", 1,
        [](const FigureInputs& in) { return number(in.snapshot.cpu.eClusterUsagePercent); }},
    Figure{"pClusterUsage", "P-cores", U::Percent, K::Gauge, false, "Mean load of the performance cores.", "never (0 until the second cycle)", 1,
        [](const FigureInputs& in) { return number(in.snapshot.cpu.pClusterUsagePercent); }},
    Figure{"aneUsage", "NPU", U::Percent, K::Gauge, true, "Share of time the neural processing unit was busy.", "without an NPU that reports its busy time, and on its first reading", 1,
        [](const FigureInputs& in) { return number(in.snapshot.npuUsagePercent); }, nullptr, {"npu_usage"}},
    Figure{"memoryUsed", "Memory", U::Gigabytes, K::Gauge, false, "Memory in use (wired, app and compressed).", "never (0 until /proc/meminfo was read)", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.usedGB); }, nullptr, {"memory_used"}},
    Figure{"memoryTotal", "of", U::Gigabytes, K::Gauge, false, "Installed physical memory.", "never (0 until /proc/meminfo was read)", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.totalGB); }, nullptr, {"memory_total"}},
    Figure{"memoryPressure", "pressure", U::Percent, K::Gauge, false, "Memory in use as a share of the total.", "never", 1,
        [](const FigureInputs& in) { return number(in.snapshot.memory.pressurePercent); }, nullptr, {"memory_pressure"}},
    Figure{"memoryWired", "wired", U::Gigabytes, K::Gauge, false, "Kernel memory that cannot be reclaimed or swapped.", "never", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.wiredGB); }, nullptr, {"memory_wired"}},
    Figure{"memoryCompressed", "compressed", U::Gigabytes, K::Gauge, false, "Memory held compressed (zswap, zram).", "never", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.compressedGB); }, nullptr, {"memory_compressed"}},
    Figure{"memoryApp", "app", U::Gigabytes, K::Gauge, false, "Anonymous memory of applications.", "never", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.appGB); }, nullptr, {"memory_app"}},
    Figure{"memorySwap", "swap", U::Gigabytes, K::Gauge, false, "Swap space in use.", "never (0 without swap)", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.swapUsedGB); }, nullptr, {"memory_swap_used"}},
    Figure{"memorySwapTotal", "swap total", U::Gigabytes, K::Gauge, true, "Swap space configured.", "until the swap figures were read; 0 on a machine without swap", 2,
        [](const FigureInputs& in) { return number(in.snapshot.memory.swapTotalGB); }, nullptr, {"memory_swap_total"}},
    Figure{"networkUpload", "Net up", U::KilobytesPerCycle, K::Gauge, false, "KB sent on real interfaces per second since the last reading.", "never (0 until the second reading)", 1,
        [](const FigureInputs& in) { return number(in.snapshot.network.uploadKB); }},
    Figure{"networkDownload", "down", U::KilobytesPerCycle, K::Gauge, false, "KB received on real interfaces per second since the last reading.", "never (0 until the second reading)", 1,
        [](const FigureInputs& in) { return number(in.snapshot.network.downloadKB); }},
    Figure{"networkReceivedBytes", "", U::Bytes, K::Counter, true, "Bytes received on real interfaces since boot.", "until /proc/net/dev was read", 0,
        [](const FigureInputs& in) { return total(in.snapshot.network.receivedBytesTotal); }, nullptr, {"network_receive"}},
    Figure{"networkTransmittedBytes", "", U::Bytes, K::Counter, true, "Bytes sent on real interfaces since boot.", "until /proc/net/dev was read", 0,
        [](const FigureInputs& in) { return total(in.snapshot.network.transmittedBytesTotal); }, nullptr, {"network_transmit"}},
    Figure{"socTemperature", "Temp", U::Celsius, K::Gauge, true, "Chip temperature from the package sensor.", "without a package sensor, or when it reads outside -40 to 150 °C", 1,
        [](const FigureInputs& in) { return number(in.snapshot.socTemperatureCelsius); }, nullptr, {"temperature", "sensor", "package"}},
    Figure{"powerDraw", "Power", U::Watts, K::Gauge, true, "Power drawn from the battery.", "without a battery, when it reports no draw, or above 1,000 W", 2,
        [](const FigureInputs& in) { return number(in.snapshot.power.drawWatts); }, nullptr, {"power_draw"}},
    Figure{"batteryPercentage", "Battery", U::Percent, K::Gauge, true, "Battery charge.", "without a battery, or when its charge reads outside 0-100 %", 0,
        [](const FigureInputs& in) { return whole(in.snapshot.power.batteryPercent); }, nullptr, {"battery_charge"}},
    Figure{"batteryIsCharging", "", U::None, K::Flag, true, "The battery is charging.", "without a battery", 0,
        [](const FigureInputs& in) {
            const std::optional<bool> charging = in.snapshot.power.batteryIsCharging;
            return charging ? FigureValue(*charging) : FigureValue();
        }, nullptr, {"battery_charging"}},
    Figure{"batteryState", "state", U::None, K::Text, true, "What the battery is doing: charging, discharging, full or not-charging.", "without a battery, or when it reports an unknown state", 0,
        [](const FigureInputs& in) {
            const std::optional<BatteryState> state = in.snapshot.power.batteryState;
            return state ? FigureValue(QString::fromLatin1(batteryStateKey(*state))) : FigureValue();
        },
        [](const FigureInputs& in) {
            const std::optional<BatteryState> state = in.snapshot.power.batteryState;
            return state ? QString::fromLatin1(batteryStateText(*state)) : QStringLiteral("\u2014");
        }},
    Figure{"batteryTimeToEmpty", "left", U::Minutes, K::Gauge, true, "Estimated time until the battery is empty.", "without a battery, unless discharging, or when the charge or draw is unknown", 0,
        [](const FigureInputs& in) { return whole(in.snapshot.power.batteryMinutesToEmpty); }, nullptr, {"battery_time_to_empty"}},
    Figure{"efficiencyRatio", "Efficiency", U::None, K::Gauge, true, "CPU load per watt drawn (%/W).", "when the power draw is unknown", 2,
        [](const FigureInputs& in) { return number(in.snapshot.efficiencyRatio()); }},
    Figure{"cpuUserUsage", "user", U::Percent, K::Gauge, true, "Share of CPU time in user mode (with nice).", "before the second cycle", 1,
        [](const FigureInputs& in) { return number(in.snapshot.cpu.userUsagePercent); }},
    Figure{"cpuSystemUsage", "system", U::Percent, K::Gauge, true, "Share of CPU time in kernel mode.", "before the second cycle", 1,
        [](const FigureInputs& in) { return number(in.snapshot.cpu.systemUsagePercent); }},
    Figure{"coreUsages", "", U::Percent, K::List, false, "Load of each logical CPU, in CPU-number order.", "never (empty before the second cycle)", 1,
        [](const FigureInputs& in) { return numbers(in.snapshot.cpu.coreUsagePercent); }},
    Figure{"cpuClockGHz", "Clock", U::Gigahertz, K::Gauge, true, "Mean current clock of the online CPUs.", "when no clock is reported, or it reads 0 or above 10 GHz", 2,
        [](const FigureInputs& in) { return number(in.snapshot.cpu.clockGHz); }, nullptr, {"cpu_frequency"}},
    Figure{"gpuName", "GPU", U::None, K::Text, true, "The GPU shown: the busiest awake discrete card, else the integrated one.", "without a GPU, or when the card has no name", 0,
        [](const FigureInputs& in) {
            const platform::GpuDevice* d = gpu(in);
            return d ? text(QString::fromStdString(d->name)) : FigureValue();
        }},
    Figure{"gpuBusy", "busy", U::Percent, K::Gauge, true, "Engine utilisation of the GPU shown.", "without a GPU, or when the card does not report it", 1,
        [](const FigureInputs& in) { return gpuFigure(in, &platform::GpuDevice::busyPercent); }},
    Figure{"gpuMemoryBusy", "memory busy", U::Percent, K::Gauge, true, "Memory controller utilisation of the GPU shown.", "without a GPU, or when the card does not report it", 1,
        [](const FigureInputs& in) { return gpuFigure(in, &platform::GpuDevice::memoryBusyPercent); }},
    Figure{"gpuTemperature", "temp", U::Celsius, K::Gauge, true, "Temperature of the GPU shown.", "without a GPU, or when the card does not report it", 1,
        [](const FigureInputs& in) { return gpuFigure(in, &platform::GpuDevice::temperatureCelsius); }},
    Figure{"gpuVramFraction", "VRAM", U::Ratio, K::Gauge, true, "Share of the GPU's memory in use.", "without a GPU, or when the card does not report its VRAM", 2,
        [](const FigureInputs& in) {
            const platform::GpuDevice* d = gpu(in);
            if (!d || !d->vramUsedBytes || !d->vramTotalBytes || *d->vramTotalBytes == 0)
                return FigureValue();
            return number(static_cast<double>(*d->vramUsedBytes) / static_cast<double>(*d->vramTotalBytes));
        }},
    Figure{"gpuPowerWatts", "power", U::Watts, K::Gauge, true, "Power drawn by the GPU shown.", "without a GPU, or when the card does not report it", 1,
        [](const FigureInputs& in) { return gpuFigure(in, &platform::GpuDevice::powerWatts); }},
    Figure{"gpus", "", U::None, K::List, false, "Every GPU as {name, driver, pciAddress, busy, memoryBusy, vramUsedBytes, vramTotalBytes, temperature, powerWatts, clockMHz, fanRpm, fanPercent, suspended}.", "never (an empty list without a GPU; a card's figure is null where it does not report it or sleeps)", 0,
        [](const FigureInputs& in) { return gpuList(in.snapshot.gpu.devices); }},
    Figure{"diskVolumeName", "Disk", U::None, K::Text, true, "Label of the volume mounted at /.", "when the root volume has no label", 0,
        [](const FigureInputs& in) { return text(in.snapshot.storage.volumeName); }},
    Figure{"diskKind", "", U::None, K::Text, true, "SSD or HDD.", "when the root device's kind is unknown", 0,
        [](const FigureInputs& in) { return text(in.snapshot.storage.kind); }},
    Figure{"diskTotal", "size", U::Gigabytes, K::Gauge, true, "Size of the root volume.", "until the root volume was read", 1,
        [](const FigureInputs& in) { return number(in.snapshot.storage.totalGB); }, nullptr, {"disk_size"}},
    Figure{"diskAvailable", "free", U::Gigabytes, K::Gauge, true, "Space free to users on the root volume.", "until the root volume was read", 1,
        [](const FigureInputs& in) { return number(in.snapshot.storage.availableGB); }, nullptr, {"disk_available"}},
    Figure{"diskUsedFraction", "", U::Ratio, K::Gauge, true, "Share of the root volume in use.", "until the root volume was read", 2,
        [](const FigureInputs& in) { return number(in.snapshot.storage.usedFraction); }},
    Figure{"diskReadRate", "read", U::BytesPerSecond, K::Gauge, true, "Bytes read from the root device per second.", "before the second reading of the root device", 1,
        [](const FigureInputs& in) { return number(in.snapshot.storage.readBytesPerSecond); }},
    Figure{"diskWriteRate", "write", U::BytesPerSecond, K::Gauge, true, "Bytes written to the root device per second.", "before the second reading of the root device", 1,
        [](const FigureInputs& in) { return number(in.snapshot.storage.writeBytesPerSecond); }},
    Figure{"diskReadPeak", "", U::BytesPerSecond, K::Gauge, true, "Highest read rate of the last 60 s.", "before the first rate", 1,
        [](const FigureInputs& in) { return number(in.snapshot.storage.readPeakBytesPerSecond); }},
    Figure{"diskWritePeak", "", U::BytesPerSecond, K::Gauge, true, "Highest write rate of the last 60 s.", "before the first rate", 1,
        [](const FigureInputs& in) { return number(in.snapshot.storage.writePeakBytesPerSecond); }},
    Figure{"diskReadBytes", "", U::Bytes, K::Counter, true, "Bytes read from the root device since boot.", "until the root device's counters were read", 0,
        [](const FigureInputs& in) { return total(in.snapshot.storage.readBytesTotal); }, nullptr, {"disk_read"}},
    Figure{"diskWrittenBytes", "", U::Bytes, K::Counter, true, "Bytes written to the root device since boot.", "until the root device's counters were read", 0,
        [](const FigureInputs& in) { return total(in.snapshot.storage.writtenBytesTotal); }, nullptr, {"disk_written"}},
    Figure{"networkHistory", "", U::KilobytesPerCycle, K::List, false, "The last 60 download figures, oldest first.", "never", 1,
        [](const FigureInputs& in) { return numbers(in.snapshot.network.downloadHistoryKB); }},
    Figure{"networkInterfaceName", "Interface", U::None, K::Text, true, "Interface of the default route.", "without a default route", 0,
        [](const FigureInputs& in) { return text(in.snapshot.network.interfaceName); }},
    Figure{"networkIsWireless", "", U::None, K::Flag, false, "The default route is a wireless link.", "never", 0,
        [](const FigureInputs& in) { return FigureValue(in.snapshot.network.wireless); }},
    Figure{"localIPv4Address", "", U::None, K::Text, true, "IPv4 address on the default route's interface.", "without a default route or an IPv4 address on it", 0,
        [](const FigureInputs& in) {
            const std::optional<QString>& a = in.snapshot.network.ipv4Address;
            return a ? text(*a) : FigureValue();
        }},
    Figure{"activeConnections", "", U::None, K::List, false, "Up to three established TCP connections' remote ends.", "never (empty until the reader thread answers)", 0,
        [](const FigureInputs& in) { return FigureValue(QJsonArray::fromStringList(in.snapshot.network.activeConnections)); }},
    Figure{"fans", "", U::None, K::List, false, "Every fan as {label, rpm}.", "never (an empty list without fan sensors; a fan's rpm is null above 50,000)", 0,
        [](const FigureInputs& in) {
            QJsonArray fans;
            for (const FanSpeed& f : in.snapshot.fans)
                fans.append(QJsonObject{{QStringLiteral("label"), f.label}, {QStringLiteral("rpm"), f.rpm ? QJsonValue(*f.rpm) : QJsonValue()}});
            return FigureValue(fans);
        }},
    Figure{"currentLatency", "Latency", U::Milliseconds, K::Gauge, true, "Round trip of the last latency probe.", "before the first probe answered, or when the last one failed", 1,
        [](const FigureInputs& in) { return in.latency ? number(in.latency->currentMs) : FigureValue(); }, nullptr, {"latency"}},
    Figure{"latencyHistory", "", U::Milliseconds, K::List, true, "The last 60 probes, oldest first; null where one failed.", "where no probe runs; single entries are null where a probe failed", 1,
        [](const FigureInputs& in) {
            if (!in.latency)
                return FigureValue();
            QJsonArray array;
            for (const std::optional<double>& v : in.latency->historyMs)
                array.append(v && std::isfinite(*v) ? QJsonValue(*v) : QJsonValue());
            return FigureValue(array);
        }},
};
// clang-format on

} // namespace

std::span<const Figure> figureCatalogue() {
    return kFigures;
}

const Figure* findFigure(std::string_view id) {
    for (const Figure& f : kFigures)
        if (f.id == id)
            return &f;
    return nullptr;
}

} // namespace pw
