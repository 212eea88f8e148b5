// The 1-second cycle over this machine's live counters: its median cost, the
// files it opens, and whether resident memory stays put over 10,000 cycles;
// then the cost of each newer reading on its own.
#include "platform/fake/fake_system_counters.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_system_counters.h"
#include "services/system_stats_provider.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

std::unique_ptr<pw::SystemStatsProvider> liveStore() {
    return std::make_unique<pw::SystemStatsProvider>(
        std::make_shared<pw::platform::LinuxSystemCounters>("/"),
        std::make_shared<pw::platform::FakeDesktopNotifier>(), [] { return 90.0; });
}

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_UpdateStatsCycle(benchmark::State& state) {
    auto store = liveStore();
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
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The readings the cycle makes besides the older ones, one at a time, so a
// cycle over budget shows which reading costs what. The route, connections and
// volume are read on every 5th cycle only.
template <typename Read> void measureReading(benchmark::State& state, Read read) {
    pw::platform::LinuxSystemCounters counters("/");
    read(counters);
    const std::uint64_t opensBefore = pw::platform::openedFileCount();
    std::uint64_t calls = 0;
    for (auto _ : state) {
        read(counters);
        ++calls;
    }
    state.counters["files_opened_per_call"] =
        static_cast<double>(pw::platform::openedFileCount() - opensBefore) /
        static_cast<double>(calls);
}
using Counters = pw::platform::LinuxSystemCounters;
BENCHMARK_CAPTURE(measureReading, cpuClockMHz, [](Counters& c) {
    benchmark::DoNotOptimize(c.cpuClockMHz());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, rootBlockDevice, [](Counters& c) {
    benchmark::DoNotOptimize(c.rootBlockDevice());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, gpu, [](Counters& c) {
    benchmark::DoNotOptimize(c.gpu());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, fans, [](Counters& c) {
    benchmark::DoNotOptimize(c.fans());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, npuBusyMicroseconds, [](Counters& c) {
    benchmark::DoNotOptimize(c.npuBusyMicroseconds());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, defaultRoute, [](Counters& c) {
    benchmark::DoNotOptimize(c.defaultRoute());
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, establishedTcpConnections, [](Counters& c) {
    benchmark::DoNotOptimize(c.establishedTcpConnections(3));
})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(measureReading, rootVolume, [](Counters& c) {
    benchmark::DoNotOptimize(c.rootVolume());
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
