#include "platform/linux/gpu/nvml_library.h"

#include "platform/linux/gpu/nvml_api.h"
#include "platform/linux/text_scan.h"

#include <cstdio>

#include <dlfcn.h>

namespace pw::platform::gpu {

struct NvmlLibrary::Api {
    nvmlInit_v2_fn init = nullptr;
    nvmlShutdown_fn shutdown = nullptr;
    nvmlDeviceGetCount_v2_fn count = nullptr;
    nvmlDeviceGetHandleByIndex_v2_fn handle = nullptr;
    nvmlDeviceGetName_fn name = nullptr;
    nvmlDeviceGetPciInfo_v3_fn pciInfo = nullptr;
    nvmlDeviceGetUtilizationRates_fn utilization = nullptr;
    nvmlDeviceGetMemoryInfo_fn memory = nullptr;
    nvmlDeviceGetTemperature_fn temperature = nullptr;
    nvmlDeviceGetPowerUsage_fn power = nullptr;
    nvmlDeviceGetClockInfo_fn clock = nullptr;
    nvmlDeviceGetFanSpeed_fn fan = nullptr;
};

struct NvmlLibrary::Device {
    nvmlDevice_t handle = nullptr;
    std::string pciAddress;
    std::string name;
};

namespace {

template <typename Fn> bool resolve(void* library, const char* symbol, Fn& out) {
    out = reinterpret_cast<Fn>(::dlsym(library, symbol));
    return out != nullptr;
}

std::optional<double> asDouble(bool ok, unsigned int value) {
    return ok ? std::optional<double>(static_cast<double>(value)) : std::nullopt;
}

// One unsigned figure from an entry point that may be missing or fail.
template <typename Fn, typename Call>
std::optional<double> query(Fn fn, Call&& call, double scale = 1.0) {
    unsigned int value = 0;
    if (fn == nullptr || call(fn, &value) != NVML_SUCCESS) {
        return std::nullopt;
    }
    return static_cast<double>(value) / scale;
}

} // namespace

std::string sysfsPciAddress(std::string_view busId) {
    const auto lastColon = busId.rfind(':');
    const auto firstColon = lastColon == std::string_view::npos || lastColon == 0
                                ? std::string_view::npos
                                : busId.rfind(':', lastColon - 1);
    const auto dot = busId.rfind('.');
    if (firstColon == std::string_view::npos || dot == std::string_view::npos || dot < lastColon) {
        return {};
    }
    const auto domain = wholeNumber<unsigned>(busId.substr(0, firstColon), 16);
    const auto bus =
        wholeNumber<unsigned>(busId.substr(firstColon + 1, lastColon - firstColon - 1), 16);
    const auto device = wholeNumber<unsigned>(busId.substr(lastColon + 1, dot - lastColon - 1), 16);
    const auto function = wholeNumber<unsigned>(busId.substr(dot + 1), 16);
    if (!domain || !bus || !device || !function || *domain > 0xffff || *bus > 0xff ||
        *device > 0x1f || *function > 7) {
        return {};
    }
    char text[16] = {};
    std::snprintf(text, sizeof text, "%04x:%02x:%02x.%x", *domain, *bus, *device, *function);
    return text;
}

NvmlLibrary::NvmlLibrary(std::string file) : m_file(std::move(file)) {}

NvmlLibrary::~NvmlLibrary() {
    stop();
    if (m_handle != nullptr) {
        ::dlclose(m_handle);
    }
}

bool NvmlLibrary::load() {
    if (m_tried) {
        return m_api != nullptr;
    }
    m_tried = true;
    m_handle = ::dlopen(m_file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char* why = ::dlerror();
        std::fprintf(stderr, "NVIDIA GPU figures unavailable: %s\n", why ? why : m_file.c_str());
        return false;
    }
    auto api = std::make_unique<Api>();
    const bool complete = resolve(m_handle, "nvmlInit_v2", api->init) &&
                          resolve(m_handle, "nvmlShutdown", api->shutdown) &&
                          resolve(m_handle, "nvmlDeviceGetCount_v2", api->count) &&
                          resolve(m_handle, "nvmlDeviceGetHandleByIndex_v2", api->handle);
    // Without one of these only its figure is missing.
    resolve(m_handle, "nvmlDeviceGetName", api->name);
    resolve(m_handle, "nvmlDeviceGetPciInfo_v3", api->pciInfo);
    resolve(m_handle, "nvmlDeviceGetUtilizationRates", api->utilization);
    resolve(m_handle, "nvmlDeviceGetMemoryInfo", api->memory);
    resolve(m_handle, "nvmlDeviceGetTemperature", api->temperature);
    resolve(m_handle, "nvmlDeviceGetPowerUsage", api->power);
    resolve(m_handle, "nvmlDeviceGetClockInfo", api->clock);
    resolve(m_handle, "nvmlDeviceGetFanSpeed", api->fan);
    if (!complete) {
        std::fprintf(stderr, "NVIDIA GPU figures unavailable: %s lacks nvmlInit_v2\n",
                     m_file.c_str());
        ::dlclose(m_handle);
        m_handle = nullptr;
        return false;
    }
    m_api = std::move(api);
    return true;
}

bool NvmlLibrary::start() {
    if (m_running) {
        return true;
    }
    if (!load() || m_api->init() != NVML_SUCCESS) {
        return false;
    }
    m_running = true;
    unsigned int count = 0;
    if (m_api->count(&count) != NVML_SUCCESS) {
        stop();
        return false;
    }
    m_devices.clear();
    for (unsigned int i = 0; i < count && i < 64; ++i) {
        Device device;
        nvmlPciInfo_t pci{};
        if (m_api->handle(i, &device.handle) != NVML_SUCCESS || !m_api->pciInfo ||
            m_api->pciInfo(device.handle, &pci) != NVML_SUCCESS) {
            continue; // a GPU that cannot be matched to its card
        }
        pci.busId[sizeof pci.busId - 1] = '\0';
        device.pciAddress = sysfsPciAddress(pci.busId);
        char name[NVML_DEVICE_NAME_BUFFER_SIZE] = {};
        if (m_api->name && m_api->name(device.handle, name, sizeof name) == NVML_SUCCESS) {
            name[sizeof name - 1] = '\0';
            device.name = name;
        }
        if (!device.pciAddress.empty()) {
            m_devices.push_back(std::move(device));
        }
    }
    return true;
}

void NvmlLibrary::stop() {
    if (m_running) {
        m_api->shutdown();
        m_running = false;
        m_devices.clear();
    }
}

std::vector<GpuDevice> NvmlLibrary::read() {
    std::vector<GpuDevice> all;
    if (!m_running) {
        return all;
    }
    const Api& api = *m_api;
    for (const Device& device : m_devices) {
        GpuDevice figures;
        figures.pciAddress = device.pciAddress;
        figures.name = device.name;
        const nvmlDevice_t handle = device.handle;
        nvmlUtilization_t rates{};
        const bool rated = api.utilization && api.utilization(handle, &rates) == NVML_SUCCESS;
        figures.busyPercent = asDouble(rated && rates.gpu <= 100, rates.gpu);
        figures.memoryBusyPercent = asDouble(rated && rates.memory <= 100, rates.memory);
        nvmlMemory_t memory{};
        if (api.memory && api.memory(handle, &memory) == NVML_SUCCESS) {
            figures.vramUsedBytes = memory.used;
            figures.vramTotalBytes = memory.total;
        }
        figures.temperatureCelsius = query(api.temperature, [&](auto fn, unsigned int* value) {
            return fn(handle, NVML_TEMPERATURE_GPU, value);
        });
        figures.powerWatts = query(
            api.power, [&](auto fn, unsigned int* milliwatts) { return fn(handle, milliwatts); },
            1000.0);
        figures.clockMHz = query(api.clock, [&](auto fn, unsigned int* mhz) {
            return fn(handle, NVML_CLOCK_GRAPHICS, mhz);
        });
        figures.fanPercent =
            query(api.fan, [&](auto fn, unsigned int* percent) { return fn(handle, percent); });
        if (figures.fanPercent > 100.0) {
            figures.fanPercent.reset();
        }
        all.push_back(std::move(figures));
    }
    return all;
}

} // namespace pw::platform::gpu
