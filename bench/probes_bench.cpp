// Costs of the busiest-process sample against running `ps`, over the live
// machine and a generated 2,000-process tree, and the longest stall of the
// main thread while probes and samples run.

#include "platform/linux/linux_sources.h"
#include "probes/generated_process_tree.h"
#include "services/ping_service.h"
#include "services/process_monitor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kGeneratedProcesses = 2000;

void BM_ProcessTableLive(benchmark::State& state) {
    const pw::platform::Sources sources = pw::platform::makeLinuxSources("/");
    pw::platform::ProcessSource& counters = *sources.processes;
    std::size_t rows = 0;
    for (auto _ : state) {
        auto table = counters.processTable();
        rows = table ? table->size() : 0;
        benchmark::DoNotOptimize(table);
    }
    state.counters["processes"] = static_cast<double>(rows);
}
BENCHMARK(BM_ProcessTableLive)->Unit(benchmark::kMicrosecond);

// The tool the process table replaces, run and waited for (here only).
void BM_PsCommand(benchmark::State& state) {
    for (auto _ : state) {
        QProcess ps;
        ps.start(QStringLiteral("ps"), {QStringLiteral("-Ao"), QStringLiteral("pid,pcpu,comm"),
                                        QStringLiteral("--sort=-pcpu")});
        if (!ps.waitForFinished(10000)) {
            state.SkipWithError("ps did not finish");
            break;
        }
        benchmark::DoNotOptimize(ps.readAllStandardOutput());
    }
}
BENCHMARK(BM_PsCommand)->Unit(benchmark::kMicrosecond);

// A whole monitor cycle over the live machine: table, ranking, the five
// processes' executables and their application lookups.
void BM_MonitorCycleLive(benchmark::State& state) {
    auto catalog = std::make_shared<pw::ApplicationCatalog>();
    pw::ProcessMonitor monitor(pw::platform::makeLinuxSources("/"), pw::Polling::Manual, catalog);
    catalog->waitUntilReady();
    for (auto _ : state) {
        monitor.updateProcesses();
    }
}
BENCHMARK(BM_MonitorCycleLive)->Unit(benchmark::kMicrosecond);

void BM_ProcessTableGenerated(benchmark::State& state) {
    const auto dir = pw::test::scratchDir();
    if (!dir->isValid() || !pw::test::writeProcessTree(dir->path(), kGeneratedProcesses,
                                                       [](int pid) { return quint64(pid) * 7; })) {
        state.SkipWithError("cannot write the process tree");
        return;
    }
    const pw::platform::Sources sources = pw::platform::makeLinuxSources(dir->path().toStdString());
    pw::platform::ProcessSource& counters = *sources.processes;
    for (auto _ : state) {
        auto table = counters.processTable();
        if (!table || table->size() != kGeneratedProcesses) {
            state.SkipWithError("unexpected table");
            break;
        }
        benchmark::DoNotOptimize(table);
    }
    state.counters["per_process"] =
        benchmark::Counter(kGeneratedProcesses, benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProcessTableGenerated)->Unit(benchmark::kMicrosecond);

// A 1 ms timer that remembers the largest gap between two of its ticks: how
// long the thread it runs on was kept from its event loop.
class StallTicker {
public:
    StallTicker() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_lastTick >= 0) {
                m_largestGapNs = std::max(m_largestGapNs, now - m_lastTick);
            }
            m_lastTick = now;
        });
    }
    void start() {
        m_clock.start();
        m_timer.start();
    }
    double largestGapMs() const { return static_cast<double>(m_largestGapNs) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastTick = -1;
    qint64 m_largestGapNs = 0;
};

// The largest gap between the ticks of a 1 ms timer while 20 probes of the
// loopback address and 20 process samples run on the same thread.
void BM_MainThreadStall(benchmark::State& state) {
    double worstMs = 0.0;
    for (auto _ : state) {
        pw::PingService ping(QStringLiteral("127.0.0.1"), pw::Polling::Manual);
        pw::ProcessMonitor monitor(pw::platform::makeLinuxSources("/"), pw::Polling::Manual,
                                   std::make_shared<pw::ApplicationCatalog>());
        QEventLoop loop;
        int probes = 0;
        int samples = 0;
        StallTicker ticker;
        qint64 longestSampleNs = 0;
        qint64 longestProbeStartNs = 0;
        const auto startProbe = [&] {
            QElapsedTimer t;
            t.start();
            ping.ping();
            longestProbeStartNs = std::max(longestProbeStartNs, t.nsecsElapsed());
        };
        QObject::connect(&ping, &pw::PingService::probeFinished, [&] {
            if (++probes < 20) {
                startProbe();
            }
        });
        QTimer sampler;
        sampler.setInterval(25);
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (samples < 20) {
                QElapsedTimer t;
                t.start();
                monitor.updateProcesses();
                longestSampleNs = std::max(longestSampleNs, t.nsecsElapsed());
                ++samples;
            }
        });
        QTimer done;
        done.setInterval(5);
        QObject::connect(&done, &QTimer::timeout, [&] {
            if (probes >= 20 && samples >= 20) {
                loop.quit();
            }
        });
        ticker.start();
        sampler.start();
        done.start();
        startProbe();
        loop.exec();
        worstMs = std::max(worstMs, ticker.largestGapMs());
        state.counters["loopback_ms"] = ping.currentLatency().value_or(-1.0);
        state.counters["longest_sample_ms"] = static_cast<double>(longestSampleNs) / 1e6;
        state.counters["longest_probe_start_ms"] = static_cast<double>(longestProbeStartNs) / 1e6;
    }
    state.counters["max_stall_ms"] = worstMs;
}
BENCHMARK(BM_MainThreadStall)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same 1 ms timer with nothing else to do, for as long: what the machine's
// own scheduling costs, to read the figure above against.
void BM_MainThreadIdleBaseline(benchmark::State& state) {
    double worstMs = 0.0;
    for (auto _ : state) {
        QEventLoop loop;
        StallTicker ticker;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        ticker.start();
        loop.exec();
        worstMs = std::max(worstMs, ticker.largestGapMs());
    }
    state.counters["max_stall_ms"] = worstMs;
}
BENCHMARK(BM_MainThreadIdleBaseline)->Iterations(1)->Unit(benchmark::kMillisecond);

// The console output plus the comparisons the figures are for.
class ComparingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
                for (const auto& [name, counter] : run.counters) {
                    counters[run.benchmark_name() + "/" + name] = counter.value;
                }
            }
        }
    }
    std::map<std::string, double> times; // in each benchmark's unit (µs here)
    std::map<std::string, double> counters;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    ComparingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto time = [&](const char* name) {
        const auto it = reporter.times.find(name);
        return it == reporter.times.end() ? -1.0 : it->second;
    };
    const double table = time("BM_ProcessTableLive");
    const double ps = time("BM_PsCommand");
    if (table > 0 && ps > 0) {
        std::printf("live process-table sample: %.1f us, ps run: %.1f us, ratio %.3f "
                    "(limit 0.100)\n",
                    table, ps, table / ps);
    }
    const double generated = time("BM_ProcessTableGenerated");
    if (generated > 0) {
        std::printf("%d-process tree sample: %.1f us, %.2f us per process\n", kGeneratedProcesses,
                    generated, generated / kGeneratedProcesses);
    }
    const auto counter = [&](const char* name) {
        const auto it = reporter.counters.find(name);
        return it == reporter.counters.end() ? -1.0 : it->second;
    };
    const double stall = counter("BM_MainThreadStall/iterations:1/max_stall_ms");
    if (stall >= 0) {
        std::printf("longest main-thread stall over 20 probes and 20 samples: %.2f ms (limit 5); "
                    "longest sample %.2f ms, longest probe start %.2f ms; idle timer alone: "
                    "%.2f ms\n",
                    stall, counter("BM_MainThreadStall/iterations:1/longest_sample_ms"),
                    counter("BM_MainThreadStall/iterations:1/longest_probe_start_ms"),
                    counter("BM_MainThreadIdleBaseline/iterations:1/max_stall_ms"));
    }
    return 0;
}
