// Prints the machine's GPUs as one JSON object, with the keys of Pulsewick's
// "gpus" figure, and the busiest GPU processes. Built from the platform's GPU
// readers and the C++ standard library only, so it can be linked statically
// and copied to a machine with the cards to check.
//
//   gpu_probe [--root DIR] [--interval-ms N] [--nvml FILE]
//
// Reads twice, N ms apart (1000 by default): loads from engine counters need
// two readings.

#include "json_text.h"
#include "platform/gpu_fields.h"
#include "platform/linux/linux_gpu_source.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

namespace {

class SteadyClock : public pw::platform::Clock {
public:
    double monotonicSeconds() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    double wallSeconds() override {
        return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

std::string gpuObject(const pw::platform::GpuDevice& gpu) {
    pw::bench::JsonObject object;
    pw::platform::forEachGpuField(
        gpu, [&](const char* key, const auto& value) { object.add(key, value); });
    return object.text();
}

std::string processObject(const pw::platform::GpuProcess& process) {
    pw::bench::JsonObject object;
    object.add("pid", std::optional<double>(process.pid));
    object.add("name", process.name);
    object.add("card", process.card);
    object.add("busy", std::optional<double>(process.busyPercent));
    return object.text();
}

int usage() {
    std::fputs("usage: gpu_probe [--root DIR] [--interval-ms N] [--nvml FILE]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string root = "/";
    long intervalMs = 1000;
    pw::platform::GpuSourceOptions options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--root") == 0 && hasValue) {
            root = argv[++i];
        } else if (std::strcmp(argv[i], "--interval-ms") == 0 && hasValue) {
            intervalMs = std::strtol(argv[++i], nullptr, 10);
            if (intervalMs < 0 || intervalMs > 60000) {
                return usage();
            }
        } else if (std::strcmp(argv[i], "--nvml") == 0 && hasValue) {
            options.nvmlLibrary = argv[++i];
        } else {
            return usage();
        }
    }
    pw::platform::LinuxGpuSource source(pw::platform::RootPath(root),
                                        std::make_shared<SteadyClock>(), options);
    source.gpus();
    std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
    const auto gpus = source.gpus();
    const auto processes = source.gpuProcesses();

    std::vector<std::string> gpuTexts;
    for (const auto& gpu : gpus) {
        gpuTexts.push_back(gpuObject(gpu));
    }
    std::vector<std::string> processTexts;
    for (const auto& process : processes.busiest) {
        processTexts.push_back(processObject(process));
    }
    pw::bench::JsonObject out;
    out.addRaw("gpus", pw::bench::jsonArray(gpuTexts));
    out.addRaw("gpuProcesses", pw::bench::jsonArray(processTexts));
    out.add("unreadableProcesses", std::optional<double>(processes.unreadableProcesses));
    std::printf("%s\n", out.text().c_str());
    return 0;
}
