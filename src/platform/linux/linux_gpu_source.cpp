#include "platform/linux/linux_gpu_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"
#include "platform/linux/sysfs_parsers.h"

#include <utility>

namespace pw::platform {

namespace {

// Firmware framebuffers get a card too, but draw nothing themselves.
bool isFramebufferDriver(std::string_view driver) {
    return driver == "simple-framebuffer" || driver == "efi-framebuffer";
}

std::optional<double> readValue(const std::string& path, std::string& buffer,
                                std::optional<double> (*parse)(std::string_view)) {
    if (path.empty()) {
        return std::nullopt;
    }
    const auto text = readFile(path, buffer);
    return text ? parse(*text) : std::nullopt;
}

std::optional<double> asDouble(std::optional<std::uint64_t> value) {
    return value ? std::optional<double>(static_cast<double>(*value)) : std::nullopt;
}

} // namespace

LinuxGpuSource::LinuxGpuSource(RootPath root, std::shared_ptr<Clock> clock)
    : m_root(std::move(root)), m_clock(std::move(clock)) {}

void LinuxGpuSource::findHwmonFiles(Card& card) {
    // One hwmon folder per GPU in practice; should there be more, the first
    // offering a file gives it.
    const std::string hwmonDir = card.deviceDir + "hwmon/";
    const auto offer = [](std::string& path, const std::string& candidate) {
        if (path.empty() && pathExists(candidate)) {
            path = candidate;
        }
    };
    for (const auto& [number, hwmon] : numberedEntries(hwmonDir, "hwmon")) {
        const std::string dir = hwmonDir + hwmon + "/";
        offer(card.temperaturePath, dir + "temp1_input");
        // amdgpu reports power1_average, newer parts power1_input instead.
        offer(card.powerPath, dir + "power1_average");
        offer(card.powerPath, dir + "power1_input");
        offer(card.clockPath, dir + "freq1_input");
        offer(card.fanPath, dir + "fan1_input");
    }
}

std::optional<LinuxGpuSource::Card> LinuxGpuSource::scanCard(const std::string& cardDir,
                                                             const std::string& name) {
    Card card;
    card.deviceDir = cardDir + "device/";
    if (!pathExists(card.deviceDir)) {
        return std::nullopt; // a virtual card without hardware
    }
    GpuDevice& identity = card.identity;
    identity.card = name;
    if (const auto driver = readSymlink(card.deviceDir + "driver")) {
        identity.driver = baseName(*driver);
    }
    if (isFramebufferDriver(identity.driver)) {
        return std::nullopt;
    }
    std::optional<std::uint16_t> vendor;
    std::optional<std::uint16_t> device;
    if (const auto link = readSymlink(cardDir + "device"); link && isPciAddress(baseName(*link))) {
        identity.pciAddress = baseName(*link);
        const auto vendorText = readTrimmed(card.deviceDir + "vendor", m_buffer);
        vendor = vendorText ? parsePciId(*vendorText) : std::nullopt;
        const auto deviceText = readTrimmed(card.deviceDir + "device", m_buffer);
        device = deviceText ? parsePciId(*deviceText) : std::nullopt;
    }
    identity.name = gpuName(identity.driver.empty() ? name : identity.driver, vendor, device);
    // A GPU on the root bus (Intel's 00:02.0) or not on PCI at all (an SoC's)
    // is part of the processor package and shares its memory.
    identity.integrated =
        identity.pciAddress.empty() || identity.pciAddress.compare(5, 2, "00") == 0;
    findHwmonFiles(card);
    return card;
}

std::vector<LinuxGpuSource::Card> LinuxGpuSource::scanCards() {
    std::vector<Card> cards;
    const std::string drmDir = m_root.sys("class/drm/");
    for (const auto& [number, name] : numberedEntries(drmDir, "card")) {
        if (auto card = scanCard(drmDir + name + "/", name)) {
            cards.push_back(std::move(*card));
        }
    }
    return cards;
}

GpuDevice LinuxGpuSource::read(const Card& card) {
    GpuDevice gpu = card.identity;
    if (readTrimmed(card.deviceDir + "power/runtime_status", m_buffer) == "suspended") {
        gpu.suspended = true;
        return gpu;
    }
    gpu.busyPercent = asDouble(readCount(card.deviceDir + "gpu_busy_percent", m_buffer));
    gpu.memoryBusyPercent = asDouble(readCount(card.deviceDir + "mem_busy_percent", m_buffer));
    gpu.vramUsedBytes = readCount(card.deviceDir + "mem_info_vram_used", m_buffer);
    gpu.vramTotalBytes = readCount(card.deviceDir + "mem_info_vram_total", m_buffer);
    gpu.temperatureCelsius = readValue(card.temperaturePath, m_buffer, parseMilliCelsius);
    gpu.powerWatts = readValue(card.powerPath, m_buffer, parseMicrowattsAsWatts);
    gpu.clockMHz = readValue(card.clockPath, m_buffer, parseHertzAsMHz);
    gpu.fanRpm = card.fanPath.empty() ? std::nullopt : asDouble(readCount(card.fanPath, m_buffer));
    return gpu;
}

std::vector<GpuDevice> LinuxGpuSource::gpus() {
    std::vector<GpuDevice> devices;
    for (const Card& card : m_cards.get(m_clock->monotonicSeconds(), [&] { return scanCards(); })) {
        devices.push_back(read(card));
    }
    return devices;
}

std::optional<std::string> LinuxGpuSource::scanNpu() {
    const std::string accelDir = m_root.sys("class/accel/");
    for (const auto& [number, name] : numberedEntries(accelDir, "accel")) {
        std::string path = accelDir + name + "/device/npu_busy_time_us";
        if (pathExists(path)) {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<std::uint64_t> LinuxGpuSource::npuBusyMicroseconds() {
    const auto& path = m_npuPath.get(m_clock->monotonicSeconds(), [&] { return scanNpu(); });
    return path ? readCount(*path, m_buffer) : std::nullopt;
}

} // namespace pw::platform
