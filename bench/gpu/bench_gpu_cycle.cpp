// What the GPU readings of one once-a-second cycle cost: two cards (an i915
// laptop GPU whose load comes from its clients' engine counters, and an amdgpu
// card), two NVIDIA cards through NVML (a stand-in library answering from a
// script), and the walk over every process's open files that finds new GPU
// clients, on this machine. Files opened per cycle are printed beside the time.

#include "platform/linux/file_reader.h"
#include "platform/linux/gpu/drm_clients.h"
#include "platform/linux/linux_gpu_source.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace pw::platform;

namespace {

// Moves one second per cycle, as the engine does.
class CycleClock : public Clock {
public:
    double monotonicSeconds() override { return m_now; }
    double wallSeconds() override { return m_now; }
    void advance() { m_now += 1.0; }

private:
    double m_now = 0.0;
};

void runCycles(benchmark::State& state, const std::string& root, GpuSourceOptions options) {
    auto clock = std::make_shared<CycleClock>();
    LinuxGpuSource source{RootPath(root), clock, options};
    source.gpus();
    const auto opened = openedFileCount();
    for (auto _ : state) {
        clock->advance();
        benchmark::DoNotOptimize(source.gpus());
        benchmark::DoNotOptimize(source.gpuProcesses());
    }
    state.counters["files/cycle"] = benchmark::Counter(
        static_cast<double>(openedFileCount() - opened) / static_cast<double>(state.iterations()));
}

void twoCards(benchmark::State& state) {
    runCycles(state, std::string(PW_FIXTURES) + "/hybrid-gpu-laptop", {});
}
BENCHMARK(twoCards);

#ifdef PW_FAKE_NVML
void twoNvidiaCardsThroughNvml(benchmark::State& state) {
    const std::string script = "/tmp/pw-bench-nvml-script";
    if (FILE* file = std::fopen(script.c_str(), "w")) {
        std::fputs("device 00000000:01:00.0 45 30 12884901888 1073741824 61 123456 1800 40 A\n"
                   "device 00000000:02:00.0 5 1 8589934592 268435456 40 15000 300 0 B\n",
                   file);
        std::fclose(file);
    }
    ::setenv("FAKE_NVML_SCRIPT", script.c_str(), 1);
    GpuSourceOptions options;
    options.nvmlLibrary = PW_FAKE_NVML;
    runCycles(state, std::string(PW_FIXTURES) + "/nvidia-dual", options);
    std::remove(script.c_str());
}
BENCHMARK(twoNvidiaCardsThroughNvml);
#endif

// This machine's processes walked for GPU clients, as for a card with a render
// node: every cycle (what one walk costs), and as the source does it (every
// few seconds, reading only the clients found in between).
void clientWalk(benchmark::State& state, double walkSeconds) {
    gpu::DrmClientTracker tracker(RootPath("/"), walkSeconds);
    const std::vector<gpu::ClientCard> cards = {{"card0", "", {"card0", "renderD128"}, false}};
    double now = 0.0;
    const auto opened = openedFileCount();
    for (auto _ : state) {
        now += 1.0;
        tracker.sample(now, cards);
        benchmark::DoNotOptimize(tracker.processes());
    }
    state.counters["files/cycle"] = benchmark::Counter(
        static_cast<double>(openedFileCount() - opened) / static_cast<double>(state.iterations()));
}

void liveClientWalkEveryCycle(benchmark::State& state) {
    clientWalk(state, 0.0);
}
BENCHMARK(liveClientWalkEveryCycle);

void liveClientWalkAsConfigured(benchmark::State& state) {
    clientWalk(state, GpuSourceOptions{}.clientFileScanSeconds);
}
BENCHMARK(liveClientWalkAsConfigured);

} // namespace

BENCHMARK_MAIN();
