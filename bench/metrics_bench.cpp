// Time to answer one scrape: rendering the page from a cycle's snapshot (the
// cost the endpoint pays once per cycle and format), and reading a
// Prometheus request (paid on every scrape).
#include "app/metrics/http_message.h"
#include "services/metrics/metrics_page.h"

#include <benchmark/benchmark.h>

using namespace pw;

namespace {

// A large desktop: 32 logical CPUs in two clusters, two GPUs, six fans.
Snapshot bigMachine() {
    Snapshot s;
    s.wallSeconds = 1700000000.0;
    s.cpu.usagePercent = 37.5;
    s.cpu.pClusterUsagePercent = 45.0;
    s.cpu.eClusterUsagePercent = 20.0;
    s.cpu.clockGHz = 3.8;
    for (int n = 0; n < 32; ++n) {
        s.cpu.coreUsagePercent.append(n * 3.1);
        s.cpu.coreIsEfficiency.append(n >= 16);
        s.cpu.coreNumbers.append(n);
        s.cpu.coreSeconds.append(CpuFigures::CoreSeconds{n, {1234.5 + n, 456.7, 98765.4, 12.0}});
    }
    s.memory = {12.5, 64.0, 19.5, 2.1, 0.5, 9.0, 0.25, 8.0};
    s.network.receivedBytesTotal = 123456789012ULL;
    s.network.transmittedBytesTotal = 9876543210ULL;
    s.socTemperatureCelsius = 58.25;
    s.storage.totalGB = 1863.0;
    s.storage.availableGB = 900.5;
    s.storage.readBytesTotal = 5000000000ULL;
    s.storage.writtenBytesTotal = 7000000000ULL;
    for (const char* card : {"card0", "card1"}) {
        platform::GpuDevice gpu;
        gpu.card = card;
        gpu.driver = "amdgpu";
        gpu.name = "Radeon RX 7800 XT";
        gpu.busyPercent = 42.0;
        gpu.memoryBusyPercent = 12.0;
        gpu.temperatureCelsius = 61.0;
        gpu.vramUsedBytes = 4000000000ULL;
        gpu.vramTotalBytes = 16000000000ULL;
        gpu.powerWatts = 120.5;
        gpu.clockMHz = 2124.0;
        s.gpu.devices.push_back(gpu);
    }
    for (int n = 1; n <= 6; ++n)
        s.fans.append(FanSpeed{QStringLiteral("fan%1").arg(n), 900 + n * 100});
    return s;
}

void renderScrape(benchmark::State& state, metrics::MetricsFormat format) {
    const Snapshot snapshot = bigMachine();
    const LatencyFigures latency{12.5, {}};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray page = metrics::renderMetrics(FigureInputs{snapshot, &latency}, format);
        bytes = static_cast<std::size_t>(page.size());
        benchmark::DoNotOptimize(page.constData());
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}

void BM_RenderPrometheusText(benchmark::State& state) {
    renderScrape(state, metrics::MetricsFormat::Prometheus);
}
BENCHMARK(BM_RenderPrometheusText)->Unit(benchmark::kMicrosecond);

void BM_RenderOpenMetrics(benchmark::State& state) {
    renderScrape(state, metrics::MetricsFormat::OpenMetrics);
}
BENCHMARK(BM_RenderOpenMetrics)->Unit(benchmark::kMicrosecond);

void BM_ReadScrapeRequest(benchmark::State& state) {
    const QByteArray request =
        "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1:19189\r\nUser-Agent: Prometheus/2.42.0\r\n"
        "Accept: application/openmetrics-text;version=1.0.0,application/openmetrics-text;"
        "version=0.0.1;q=0.75,text/plain;version=0.0.4;q=0.5,*/*;q=0.1\r\n"
        "Accept-Encoding: gzip\r\nX-Prometheus-Scrape-Timeout-Seconds: 10\r\n\r\n";
    const app::HttpRequestParser parser(8 * 1024);
    for (auto _ : state) {
        app::HttpRequest parsed;
        qsizetype consumed = 0;
        benchmark::DoNotOptimize(parser.parse(request, parsed, consumed));
        benchmark::DoNotOptimize(metrics::negotiateFormat(parsed.accept));
    }
}
BENCHMARK(BM_ReadScrapeRequest)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
