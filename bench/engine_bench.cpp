// The 1-second cycle over this machine's live counters: its median cost, the
// files it opens, and whether resident memory stays put over 10,000 cycles;
// then the cost of each newer reading on its own.
#include "platform/fake/fake_sources.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_sources.h"
#include "services/engine_models.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

// The store with every monitor wired, as the running program has it.
struct LiveEngine {
    pw::EngineModels engine{pw::platform::makeLinuxSources("/"),
                            std::make_shared<pw::platform::FakeDesktopNotifier>(),
                            [] { return 90.0; }};
    void updateStats() { engine.stats.updateStats(); }
};
std::unique_ptr<LiveEngine> liveStore() {
    return std::make_unique<LiveEngine>();
}

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Every reading taken (as the JSON output has it); with `state.range(0)`,
// only what the tray shows, as on a desktop with every view closed.
void BM_UpdateStatsCycle(benchmark::State& state) {
    auto store = liveStore();
    if (state.range(0))
        store->engine.stats.demand().readOnlyWhatIsWatched();
    store->updateStats(); // the reference sample
    const std::uint64_t opensBefore = pw::platform::openedFileCount();
    std::uint64_t cycles = 0;
    for (auto _ : state) {
        store->updateStats();
        ++cycles;
    }
    state.counters["files_opened_per_cycle"] =
        static_cast<double>(pw::platform::openedFileCount() - opensBefore) /
        static_cast<double>(cycles);
}
BENCHMARK(BM_UpdateStatsCycle)
    ->ArgName("tray_only")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The device readings one at a time, so a cycle over budget shows which
// reading costs what. The route, connections and volume are read on every 5th
// cycle only.
template <typename Read> void measureReading(benchmark::State& state, Read read) {
    const pw::platform::Sources sources = pw::platform::makeLinuxSources("/");
    read(sources);
    const std::uint64_t opensBefore = pw::platform::openedFileCount();
    std::uint64_t calls = 0;
    for (auto _ : state) {
        read(sources);
        ++calls;
    }
    state.counters["files_opened_per_call"] =
        static_cast<double>(pw::platform::openedFileCount() - opensBefore) /
        static_cast<double>(calls);
}
using Sources = pw::platform::Sources;
BENCHMARK_CAPTURE(measureReading, cpuClockMHz, [](const Sources& s) {
    benchmark::DoNotOptimize(s.cpu->clockMHz());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, rootBlockDevice, [](const Sources& s) {
    benchmark::DoNotOptimize(s.storage->rootBlockDevice());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, gpus, [](const Sources& s) {
    benchmark::DoNotOptimize(s.gpu->gpus());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, fans, [](const Sources& s) {
    benchmark::DoNotOptimize(s.fans->fans());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, npuBusyMicroseconds, [](const Sources& s) {
    benchmark::DoNotOptimize(s.gpu->npuBusyMicroseconds());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, defaultRoute, [](const Sources& s) {
    benchmark::DoNotOptimize(s.network->defaultRoute());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, establishedTcpConnections, [](const Sources& s) {
    benchmark::DoNotOptimize(s.connections->established(3));
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, rootVolume, [](const Sources& s) {
    benchmark::DoNotOptimize(s.storage->rootVolume());
})->Unit(benchmark::kMicrosecond);

void residentMemoryOver10000Cycles() {
    auto store = liveStore();
    for (int i = 0; i < 100; ++i)
        store->updateStats();
    const long after100 = residentKiB();
    for (int i = 100; i < 10000; ++i)
        store->updateStats();
    const long after10000 = residentKiB();
    std::printf(
        "resident memory after 100 cycles: %ld KiB, after 10000 cycles: %ld KiB (%+ld KiB)\n",
        after100, after10000, after10000 - after100);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    residentMemoryOver10000Cycles();
    return 0;
}
