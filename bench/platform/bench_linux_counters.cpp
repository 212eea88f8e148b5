// What one once-a-second sampling cycle and one process-table sample cost, on
// this machine and on the checked-in laptop tree (which has sensors and batteries
// where a build machine may have none), with the files each opens.

#include "platform/linux/cpu_parsers.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_sources.h"
#include "platform/linux/memory_parsers.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

using namespace pw::platform;

namespace {

// The figures every cycle takes: ticks, memory and swap, the interfaces, the
// temperature of the sensors it would pick (here: the first two), the supplies.
void coreCycle(const Sources& sources) {
    benchmark::DoNotOptimize(sources.cpu->cpuTicks());
    benchmark::DoNotOptimize(sources.memory->memory());
    benchmark::DoNotOptimize(sources.memory->swap());
    benchmark::DoNotOptimize(sources.network->interfaces());
    if (const auto sensors = sources.thermal->sensors()) {
        for (std::size_t i = 0; i < sensors->size() && i < 2; ++i) {
            benchmark::DoNotOptimize(sources.thermal->readCelsius((*sensors)[i]));
        }
    }
    benchmark::DoNotOptimize(sources.power->powerSupplies());
}

// Every area once: the core figures plus the device readings.
void fullCycle(const Sources& sources) {
    coreCycle(sources);
    benchmark::DoNotOptimize(sources.cpu->clockMHz());
    benchmark::DoNotOptimize(sources.gpu->gpus());
    benchmark::DoNotOptimize(sources.gpu->npuBusyMicroseconds());
    benchmark::DoNotOptimize(sources.storage->rootVolume());
    benchmark::DoNotOptimize(sources.storage->rootBlockDevice());
    benchmark::DoNotOptimize(sources.network->defaultRoute());
    benchmark::DoNotOptimize(sources.connections->established(8));
    benchmark::DoNotOptimize(sources.fans->fans());
}

void runCycles(benchmark::State& state, const std::string& root, void (*cycle)(const Sources&)) {
    const Sources sources = makeLinuxSources(root);
    cycle(sources); // fill the caches, as the first second of a run does
    const auto openedBefore = openedFileCount();
    for (auto _ : state) {
        cycle(sources);
    }
    state.counters["files_per_cycle"] = static_cast<double>(openedFileCount() - openedBefore) /
                                        static_cast<double>(state.iterations());
}

const std::string laptopTree = std::string(PW_FIXTURES) + "/intel-hybrid-laptop";

void BM_CycleThisMachine(benchmark::State& state) {
    runCycles(state, "/", coreCycle);
}
BENCHMARK(BM_CycleThisMachine)->Unit(benchmark::kMicrosecond);

void BM_CycleLaptopTree(benchmark::State& state) {
    runCycles(state, laptopTree, coreCycle);
}
BENCHMARK(BM_CycleLaptopTree)->Unit(benchmark::kMicrosecond);

void BM_FullCycleThisMachine(benchmark::State& state) {
    runCycles(state, "/", fullCycle);
}
BENCHMARK(BM_FullCycleThisMachine)->Unit(benchmark::kMicrosecond);

void BM_FullCycleLaptopTree(benchmark::State& state) {
    runCycles(state, laptopTree, fullCycle);
}
BENCHMARK(BM_FullCycleLaptopTree)->Unit(benchmark::kMicrosecond);

void BM_ProcessTableThisMachine(benchmark::State& state) {
    const Sources sources = makeLinuxSources("/");
    std::size_t rows = 0;
    const auto openedBefore = openedFileCount();
    for (auto _ : state) {
        const auto table = sources.processes->processTable();
        rows = table ? table->size() : 0;
        benchmark::DoNotOptimize(table);
    }
    state.counters["processes"] = static_cast<double>(rows);
    state.counters["files_per_sample"] = static_cast<double>(openedFileCount() - openedBefore) /
                                         static_cast<double>(state.iterations());
}
BENCHMARK(BM_ProcessTableThisMachine)->Unit(benchmark::kMicrosecond);

std::string fixtureText(const char* relative) {
    std::ifstream in(laptopTree + "/" + relative);
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
