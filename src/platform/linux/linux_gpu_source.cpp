#include "platform/linux/linux_gpu_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/gpu/amdgpu.h"
#include "platform/linux/gpu/intel.h"
#include "platform/linux/gpu/nvml_library.h"
#include "platform/linux/sysfs_files.h"

#include <algorithm>
#include <utility>

namespace pw::platform {

namespace {

// A failed NVML start is tried again after this long, not every cycle.
constexpr double kNvmlRetrySeconds = 10.0;

// NVML's figures for a card, which keeps what the scan found of it.
void merge(const GpuDevice& figures, GpuDevice& gpu) {
    GpuDevice merged = figures;
    merged.card = gpu.card;
    merged.driver = gpu.driver;
    merged.integrated = gpu.integrated;
    if (merged.name.empty()) {
        merged.name = gpu.name;
    }
    gpu = std::move(merged);
}

} // namespace

LinuxGpuSource::LinuxGpuSource(RootPath root, std::shared_ptr<Clock> clock,
                               GpuSourceOptions options)
    : m_root(std::move(root)), m_clock(std::move(clock)), m_options(std::move(options)),
      m_clients(m_root, m_options.clientFileScanSeconds) {}

LinuxGpuSource::~LinuxGpuSource() = default;

const gpu::CardScan& LinuxGpuSource::cards(double now) {
    return m_scan.get(now, [&] {
        gpu::CardScan scan = gpu::scanCards(m_root, m_buffer);
        m_offered.assign(scan.cards.size(), std::nullopt);
        m_clients.rescan();
        return scan;
    });
}

GpuDevice LinuxGpuSource::read(const gpu::CardPaths& card, std::size_t index, bool asleep) {
    GpuDevice gpu = card.identity;
    if (asleep) {
        gpu.suspended = true;
        return gpu;
    }
    std::optional<Offered>& offered = m_offered[index];
    if (!offered) {
        offered = Offered{gpu::findHwmonFiles(card.deviceDir, m_buffer),
                          gpu::isIntelDriver(gpu.driver)
                              ? gpu::findIntelClockFile(gpu.driver, card.cardDir, card.deviceDir)
                              : std::string()};
    }
    if (gpu.driver == "amdgpu") {
        gpu::readAmdgpuFigures(card.deviceDir, m_buffer, gpu);
    }
    gpu::readHwmonFigures(offered->hwmon, m_buffer, gpu);
    if (!offered->intelClock.empty()) {
        gpu.clockMHz = gpu::readIntelClock(offered->intelClock, m_buffer);
    }
    return gpu;
}

void LinuxGpuSource::readNvidia(const gpu::CardScan& scan, std::vector<GpuDevice>& devices,
                                double now) {
    if (scan.nvidiaAddresses.empty()) {
        return; // no NVIDIA GPU: the library is never opened
    }
    const bool allAwake = std::none_of(
        scan.nvidiaAddresses.begin(), scan.nvidiaAddresses.end(), [&](const std::string& address) {
            const auto card = std::find_if(devices.begin(), devices.end(), [&](const GpuDevice& d) {
                return d.pciAddress == address;
            });
            return card != devices.end()
                       ? card->suspended
                       : gpu::deviceAsleep(m_root.sys("bus/pci/devices/" + address + "/"),
                                           m_buffer);
        });
    if (!m_nvml) {
        m_nvml = std::make_unique<gpu::NvmlLibrary>(m_options.nvmlLibrary);
    }
    if (!allAwake) {
        m_nvml->stop(); // its open files would keep the sleeping GPU awake
        return;
    }
    if (!m_nvml->running() && (now < m_nvmlRetryAt || !m_nvml->start())) {
        m_nvmlRetryAt = std::max(m_nvmlRetryAt, now + kNvmlRetrySeconds);
        return;
    }
    for (const GpuDevice& figures : m_nvml->read()) {
        for (GpuDevice& device : devices) {
            if (device.pciAddress == figures.pciAddress && !device.suspended) {
                merge(figures, device);
            }
        }
    }
}

std::vector<GpuDevice> LinuxGpuSource::gpus() {
    const double now = m_clock->monotonicSeconds();
    const gpu::CardScan& scan = cards(now);
    std::vector<GpuDevice> devices;
    std::vector<gpu::ClientCard> clientCards;
    for (std::size_t i = 0; i < scan.cards.size(); ++i) {
        const gpu::CardPaths& card = scan.cards[i];
        const bool asleep = gpu::deviceAsleep(card.deviceDir, m_buffer);
        devices.push_back(read(card, i, asleep));
        clientCards.push_back(
            gpu::ClientCard{card.identity.card, card.identity.pciAddress, card.nodes, asleep});
    }
    m_clients.sample(now, clientCards);
    readNvidia(scan, devices, now);
    const bool partial = m_clients.processes().unreadableProcesses > 0;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        // Cards without a load file of their own (Intel's) are as busy as
        // their clients keep them.
        if (!devices[i].suspended && !devices[i].busyPercent) {
            devices[i].busyPercent = m_clients.cardBusy(i);
            devices[i].busyIsPartial = devices[i].busyPercent && partial;
        }
    }
    return devices;
}

GpuProcesses LinuxGpuSource::gpuProcesses() {
    return m_clients.processes();
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
