// A stand-in for libnvidia-ml.so.1: the entry points Pulsewick calls, answering
// from a script. FAKE_NVML_SCRIPT names the script, read at each nvmlInit_v2:
//
//   device <busId> <gpu%> <memory%> <totalBytes> <usedBytes> <°C> <mW> <MHz> <fan%> <name...>
//   fail <entry point> <device index>     that call answers an error
//   initfail                              nvmlInit_v2 answers an error
//
// Each nvmlInit_v2 and nvmlShutdown appends "init" or "shutdown" to the file
// FAKE_NVML_LOG names, so a test can count them.

#include "platform/linux/gpu/nvml_api.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

struct nvmlDevice_st {
    std::string busId;
    std::string name;
    unsigned gpu = 0, memory = 0, celsius = 0, milliwatts = 0, mhz = 0, fan = 0;
    unsigned long long total = 0, used = 0;
    std::vector<std::string> failing;
};

namespace {

constexpr nvmlReturn_t kError = 999;
constexpr nvmlReturn_t kUninitialized = 1;

std::vector<nvmlDevice_st> devices;
bool running = false;

void logCall(const char* what) {
    if (const char* path = std::getenv("FAKE_NVML_LOG")) {
        if (FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "%s\n", what);
            std::fclose(log);
        }
    }
}

// Reads the script; false when it says init fails.
bool readScript() {
    devices.clear();
    const char* path = std::getenv("FAKE_NVML_SCRIPT");
    FILE* script = path ? std::fopen(path, "r") : nullptr;
    if (!script) {
        return true;
    }
    bool ok = true;
    char line[512];
    while (std::fgets(line, sizeof line, script)) {
        char busId[64] = {};
        char function[128] = {};
        unsigned index = 0;
        nvmlDevice_st d;
        int nameAt = 0;
        if (std::sscanf(line, "device %63s %u %u %llu %llu %u %u %u %u %n", busId, &d.gpu,
                        &d.memory, &d.total, &d.used, &d.celsius, &d.milliwatts, &d.mhz, &d.fan,
                        &nameAt) == 9) {
            d.busId = busId;
            d.name = std::string(line + nameAt, std::strcspn(line + nameAt, "\n"));
            devices.push_back(d);
        } else if (std::sscanf(line, "fail %127s %u", function, &index) == 2 &&
                   index < devices.size()) {
            devices[index].failing.push_back(function);
        } else if (std::strncmp(line, "initfail", 8) == 0) {
            ok = false;
        }
    }
    std::fclose(script);
    return ok;
}

nvmlReturn_t answer(nvmlDevice_t device, const char* function) {
    if (!running || device == nullptr) {
        return kUninitialized;
    }
    for (const std::string& failing : device->failing) {
        if (failing == function) {
            return kError;
        }
    }
    return NVML_SUCCESS;
}

// The scripted answer of `function`, written to `out` when it succeeds.
template <typename T, typename Value>
nvmlReturn_t give(nvmlDevice_t device, const char* function, T* out, Value&& value) {
    const nvmlReturn_t result = answer(device, function);
    if (result == NVML_SUCCESS) {
        *out = value();
    }
    return result;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) nvmlReturn_t nvmlInit_v2() {
    logCall("init");
    if (!readScript()) {
        return kError;
    }
    running = true;
    return NVML_SUCCESS;
}

__attribute__((visibility("default"))) nvmlReturn_t nvmlShutdown() {
    logCall("shutdown");
    running = false;
    return NVML_SUCCESS;
}

__attribute__((visibility("default"))) nvmlReturn_t nvmlDeviceGetCount_v2(unsigned int* count) {
    if (!running) {
        return kUninitialized;
    }
    *count = static_cast<unsigned>(devices.size());
    return NVML_SUCCESS;
}

__attribute__((visibility("default"))) nvmlReturn_t
nvmlDeviceGetHandleByIndex_v2(unsigned int index, nvmlDevice_t* device) {
    if (!running || index >= devices.size()) {
        return kError;
    }
    *device = &devices[index];
    return NVML_SUCCESS;
}

__attribute__((visibility("default"))) nvmlReturn_t
nvmlDeviceGetName(nvmlDevice_t device, char* name, unsigned int length) {
    const nvmlReturn_t result = answer(device, "nvmlDeviceGetName");
    if (result == NVML_SUCCESS) {
        std::snprintf(name, length, "%s", device->name.c_str());
    }
    return result;
}

__attribute__((visibility("default"))) nvmlReturn_t nvmlDeviceGetPciInfo_v3(nvmlDevice_t device,
                                                                            nvmlPciInfo_t* pci) {
    const nvmlReturn_t result = answer(device, "nvmlDeviceGetPciInfo_v3");
    if (result == NVML_SUCCESS) {
        std::snprintf(pci->busId, sizeof pci->busId, "%s", device->busId.c_str());
    }
    return result;
}

__attribute__((visibility("default"))) nvmlReturn_t
nvmlDeviceGetUtilizationRates(nvmlDevice_t device, nvmlUtilization_t* rates) {
    return give(device, "nvmlDeviceGetUtilizationRates", rates, [&] {
        return nvmlUtilization_t{device->gpu, device->memory};
    });
}

__attribute__((visibility("default"))) nvmlReturn_t nvmlDeviceGetMemoryInfo(nvmlDevice_t device,
                                                                            nvmlMemory_t* memory) {
    return give(device, "nvmlDeviceGetMemoryInfo", memory, [&] {
        return nvmlMemory_t{device->total, device->total - device->used, device->used};
    });
}

__attribute__((visibility("default"))) nvmlReturn_t
nvmlDeviceGetTemperature(nvmlDevice_t device, int sensor, unsigned int* celsius) {
    return give(device, "nvmlDeviceGetTemperature", celsius,
                [&] { return sensor == NVML_TEMPERATURE_GPU ? device->celsius : 0u; });
}

__attribute__((visibility("default"))) nvmlReturn_t nvmlDeviceGetPowerUsage(nvmlDevice_t device,
                                                                            unsigned int* mw) {
    return give(device, "nvmlDeviceGetPowerUsage", mw, [&] { return device->milliwatts; });
}

__attribute__((visibility("default"))) nvmlReturn_t
nvmlDeviceGetClockInfo(nvmlDevice_t device, int type, unsigned int* mhz) {
    return give(device, "nvmlDeviceGetClockInfo", mhz,
                [&] { return type == NVML_CLOCK_GRAPHICS ? device->mhz : 0u; });
}

__attribute__((visibility("default"))) nvmlReturn_t nvmlDeviceGetFanSpeed(nvmlDevice_t device,
                                                                          unsigned int* percent) {
    return give(device, "nvmlDeviceGetFanSpeed", percent, [&] { return device->fan; });
}

} // extern "C"
