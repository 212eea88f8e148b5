// The tray readout is drawn every second whether or not the popup is open:
// the median cost of every size a tray icon carries, of one frame rendered
// into an image, wide and square, at 1x and 2x, and of one frame plus the
// comparison with the last one. Then what the open popup redraws every
// second, a core ring and the CPU line, stroked by QPainter and drawn into
// pixels, in CPU time of every thread (QPainter hands large strokes to its
// thread pool).
#include "ui/menu_bar_readout.h"
#include "ui/ring_painter.h"
#include "ui/ring_raster.h"
#include "ui/sparkline_raster.h"
#include "ui/sparkline_view.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A busy minute: a slow swing with a jitter on top, as a desktop's load looks.
QList<double> history() {
    QList<double> values;
    for (int i = 0; i < 60; ++i)
        values.append(50.0 + 30.0 * std::sin(i / 5.0) + 15.0 * std::sin(i * 2.7));
    return values;
}

void BM_RenderReadout(benchmark::State& state) {
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const qreal dpr = static_cast<qreal>(state.range(2));
    pw::ui::ReadoutFigures figures{history(), 0.0, 47.3};
    for (auto _ : state) {
        // A new figure every frame, as in use.
        figures.cpuUsage = figures.cpuUsage >= 100.0 ? 0.0 : figures.cpuUsage + 1.0;
        QImage image = pw::ui::renderMenuBarReadout(figures, size, dpr, QColor(10, 132, 255));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(
        QStringLiteral("%1x%2@%3x").arg(size.width()).arg(size.height()).arg(dpr).toStdString());
}

// The tray compares each frame with the last before pushing a new icon.
void BM_RenderAndCompare(benchmark::State& state) {
    const pw::ui::ReadoutFigures figures{history(), 37.0, 47.3};
    QImage previous;
    for (auto _ : state) {
        QImage image =
            pw::ui::renderMenuBarReadout(figures, QSize(70, 22), 2.0, QColor(10, 132, 255));
        benchmark::DoNotOptimize(image == previous);
        previous = std::move(image);
    }
}

// A StatusNotifierItem carries every size each second; an XEmbed icon one.
void BM_RenderTrayIconImages(benchmark::State& state) {
    pw::ui::ReadoutFigures figures{history(), 0.0, 47.3};
    for (auto _ : state) {
        figures.cpuUsage = figures.cpuUsage >= 100.0 ? 0.0 : figures.cpuUsage + 1.0;
        // The line moves on by a sample, as it does each second.
        figures.cpuHistory.append(figures.cpuHistory.takeFirst());
        const QList<QImage> images = pw::ui::renderTrayIconImages(figures, QColor(10, 132, 255));
        benchmark::DoNotOptimize(images.constData());
    }
}

// Drawn into pixels (range 1) or stroked by a painter (range 0).
bool drawnIntoPixels(const benchmark::State& state) {
    return state.range(0) != 0;
}

void BM_PopupRing(benchmark::State& state) {
    const pw::ui::RingStyle style{4.0, 0.3, Qt::FlatCap, Qt::FlatCap};
    const QRectF frame(0, 0, 40, 40);
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    double fraction = 0.0;
    for (auto _ : state) {
        fraction = fraction >= 1.0 ? 0.0 : fraction + 0.07;
        image.fill(Qt::transparent);
        if (drawnIntoPixels(state)) {
            pw::ui::rasterizeRing(image, frame, fraction, QColor(10, 132, 255), style);
        } else {
            QPainter painter(&image);
            pw::ui::paintRing(painter, frame, fraction, QColor(10, 132, 255), style);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(drawnIntoPixels(state) ? "40 px, drawn into pixels" : "40 px, stroked");
}

void BM_PopupLine(benchmark::State& state) {
    QList<double> values = history();
    const QRectF frame(0, 0, 300, 40);
    QImage image(300, 40, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        values.append(values.takeFirst());
        image.fill(Qt::transparent);
        if (drawnIntoPixels(state)) {
            pw::ui::rasterizeSparkline(image, frame, values, QColor(10, 132, 255), 1.5);
        } else {
            QPainter painter(&image);
            pw::ui::paintSparkline(painter, frame, values, QColor(10, 132, 255));
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(drawnIntoPixels(state) ? "300x40, drawn into pixels" : "300x40, stroked");
}

void strokedAndDrawnIntoPixels(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(0)
        ->Arg(1)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_PopupRing)->Apply(strokedAndDrawnIntoPixels);
BENCHMARK(BM_PopupLine)->Apply(strokedAndDrawnIntoPixels);
BENCHMARK(BM_RenderTrayIconImages)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderReadout)
    ->Args({70, 22, 1})
    ->Args({70, 22, 2})
    ->Args({22, 22, 1})
    ->Args({44, 44, 2})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderAndCompare)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    // Fonts need a GUI application; no display is needed to draw into an image.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
