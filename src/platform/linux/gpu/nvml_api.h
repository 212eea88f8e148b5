#pragma once

// The few NVML entry points Pulsewick calls, declared here so that nothing of
// NVIDIA's is needed to build: the library is opened at run time. Layouts and
// constants are those of NVML's public interface.

extern "C" {

using nvmlReturn_t = int;
using nvmlDevice_t = struct nvmlDevice_st*;

inline constexpr nvmlReturn_t NVML_SUCCESS = 0;
inline constexpr int NVML_TEMPERATURE_GPU = 0;
inline constexpr int NVML_CLOCK_GRAPHICS = 0;
inline constexpr unsigned NVML_DEVICE_NAME_BUFFER_SIZE = 96;

struct nvmlPciInfo_t {
    char busIdLegacy[16];
    unsigned int domain;
    unsigned int bus;
    unsigned int device;
    unsigned int pciDeviceId;
    unsigned int pciSubSystemId;
    char busId[32]; // "00000000:01:00.0"
};

struct nvmlUtilization_t {
    unsigned int gpu;    // percent of time a kernel ran
    unsigned int memory; // percent of time memory was read or written
};

struct nvmlMemory_t {
    unsigned long long total;
    unsigned long long free;
    unsigned long long used;
};

using nvmlInit_v2_fn = nvmlReturn_t (*)();
using nvmlShutdown_fn = nvmlReturn_t (*)();
using nvmlDeviceGetCount_v2_fn = nvmlReturn_t (*)(unsigned int*);
using nvmlDeviceGetHandleByIndex_v2_fn = nvmlReturn_t (*)(unsigned int, nvmlDevice_t*);
using nvmlDeviceGetName_fn = nvmlReturn_t (*)(nvmlDevice_t, char*, unsigned int);
using nvmlDeviceGetPciInfo_v3_fn = nvmlReturn_t (*)(nvmlDevice_t, nvmlPciInfo_t*);
using nvmlDeviceGetUtilizationRates_fn = nvmlReturn_t (*)(nvmlDevice_t, nvmlUtilization_t*);
using nvmlDeviceGetMemoryInfo_fn = nvmlReturn_t (*)(nvmlDevice_t, nvmlMemory_t*);
using nvmlDeviceGetTemperature_fn = nvmlReturn_t (*)(nvmlDevice_t, int, unsigned int*);
using nvmlDeviceGetPowerUsage_fn = nvmlReturn_t (*)(nvmlDevice_t, unsigned int*); // mW
using nvmlDeviceGetClockInfo_fn = nvmlReturn_t (*)(nvmlDevice_t, int, unsigned int*);
using nvmlDeviceGetFanSpeed_fn = nvmlReturn_t (*)(nvmlDevice_t, unsigned int*); // percent

} // extern "C"
