// What one once-a-second sampling cycle and one process-table sample cost, on
// this machine and on the checked-in laptop tree (which has sensors and batteries
// where a build machine may have none).

#include "platform/linux/file_reader.h"
#include "platform/linux/linux_system_counters.h"
#include "platform/linux/proc_parsers.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

using namespace pw::platform;

namespace {

// The store's cycle: every counter once, and the temperature of the sensors it
// would pick (here: the first two).
void oneCycle(LinuxSystemCounters& counters) {
    benchmark::DoNotOptimize(counters.cpuTicks());
    benchmark::DoNotOptimize(counters.memory());
    benchmark::DoNotOptimize(counters.swapUsedBytes());
    benchmark::DoNotOptimize(counters.networkInterfaces());
    if (const auto sensors = counters.thermalSensors()) {
        for (std::size_t i = 0; i < sensors->size() && i < 2; ++i) {
            benchmark::DoNotOptimize(counters.readThermalSensor((*sensors)[i]));
        }
    }
    benchmark::DoNotOptimize(counters.powerSupplies());
}

void runCycles(benchmark::State& state, const std::string& root) {
    LinuxSystemCounters counters(root);
    oneCycle(counters); // fill the caches, as the first second of a run does
    const auto openedBefore = openedFileCount();
    for (auto _ : state) {
        oneCycle(counters);
    }
    state.counters["files_per_cycle"] = static_cast<double>(openedFileCount() - openedBefore) /
                                        static_cast<double>(state.iterations());
}

void BM_CycleThisMachine(benchmark::State& state) {
    runCycles(state, "/");
}
BENCHMARK(BM_CycleThisMachine)->Unit(benchmark::kMicrosecond);

void BM_CycleLaptopTree(benchmark::State& state) {
    runCycles(state, std::string(PW_FIXTURES) + "/intel-hybrid-laptop");
}
BENCHMARK(BM_CycleLaptopTree)->Unit(benchmark::kMicrosecond);

void BM_ProcessTableThisMachine(benchmark::State& state) {
    LinuxSystemCounters counters("/");
    std::size_t rows = 0;
    const auto openedBefore = openedFileCount();
    for (auto _ : state) {
        const auto table = counters.processTable();
        rows = table ? table->size() : 0;
        benchmark::DoNotOptimize(table);
    }
    state.counters["processes"] = static_cast<double>(rows);
    state.counters["files_per_sample"] = static_cast<double>(openedFileCount() - openedBefore) /
                                         static_cast<double>(state.iterations());
}
BENCHMARK(BM_ProcessTableThisMachine)->Unit(benchmark::kMicrosecond);

std::string fixtureText(const char* relative) {
    std::ifstream in(std::string(PW_FIXTURES) + "/intel-hybrid-laptop/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void BM_ParseProcStat20Cpus(benchmark::State& state) {
    const std::string text = fixtureText("proc/stat");
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseCpuTicks(text));
    }
}
BENCHMARK(BM_ParseProcStat20Cpus);

void BM_ParseMeminfo(benchmark::State& state) {
    const std::string text = fixtureText("proc/meminfo");
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseMeminfo(text));
    }
}
BENCHMARK(BM_ParseMeminfo);

} // namespace

BENCHMARK_MAIN();
