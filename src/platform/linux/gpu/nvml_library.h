#pragma once

// NVIDIA's management library, opened with dlopen when an NVIDIA GPU is there.
// A session (nvmlInit) opens every NVIDIA GPU, so the caller starts one only
// while all of them are awake and stops it when one sleeps.

#include "platform/gpu_source.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform::gpu {

class NvmlLibrary {
public:
    // `file` as dlopen takes it: a name looked up the usual way, or a path.
    explicit NvmlLibrary(std::string file = "libnvidia-ml.so.1");
    ~NvmlLibrary();
    NvmlLibrary(const NvmlLibrary&) = delete;
    NvmlLibrary& operator=(const NvmlLibrary&) = delete;

    // Opens the library on the first call; false when it is missing or lacks
    // an entry point, said once on standard error.
    bool load();
    // Starts a session and lists its GPUs, unless one runs; false on failure.
    bool start();
    // Ends the session, if one runs.
    void stop();
    bool running() const { return m_running; }
    // Every GPU of the session: its PCI address as sysfs names it, its name
    // (empty if the call failed) and figures; a call that fails leaves its
    // figure absent.
    std::vector<GpuDevice> read();

private:
    struct Api;
    struct Device;
    std::string m_file;
    void* m_handle = nullptr;
    bool m_tried = false;
    bool m_running = false;
    std::unique_ptr<Api> m_api;
    std::vector<Device> m_devices;
};

// NVML's "00000000:01:00.0" as sysfs names the device, "0000:01:00.0"; empty
// when malformed.
std::string sysfsPciAddress(std::string_view nvmlBusId);

} // namespace pw::platform::gpu
