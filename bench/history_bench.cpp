// The history store's costs, on synthetic figures with every column known
// (the largest rows a machine can give):
//  - recording: CPU time per cycle, all threads, on a store already holding a
//    day of full-rate rows and a month of minutes (so every batch also folds
//    minutes and drops old rows), and the longest time one cycle's record()
//    held the main thread;
//  - the time from a batch's hand-off until it is on disk (what the main
//    thread would wait if it wrote itself);
//  - reading and drawing the 30-day, 24-hour and 1-hour charts;
//  - the file's size after a day, and after a month.
#include "services/history/history_database.h"
#include "services/history/history_query.h"
#include "services/history/history_recorder.h"
#include "ui/history_chart.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <vector>

using namespace pw;
using namespace std::chrono;

namespace {

constexpr double kStart = 1'700'000'000.0;

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Every figure known and never a round number.
struct Synthetic {
    Snapshot s;
    LatencyFigures latency;
    std::uint64_t state = 12345;
    double next(double scale) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0 * scale + 0.001;
    }
    Synthetic() {
        platform::GpuDevice gpu;
        gpu.vramTotalBytes = 8ULL << 30;
        s.gpu.devices = {gpu};
        s.gpu.shown = 0;
        s.power.batteryPercent = 80;
        s.power.batteryMinutesToEmpty = 200;
    }
    FigureInputs at(double wall) {
        s.wallSeconds = wall;
        s.cpu.usagePercent = next(100);
        s.cpu.eClusterUsagePercent = next(100);
        s.cpu.pClusterUsagePercent = next(100);
        s.cpu.userUsagePercent = next(60);
        s.cpu.systemUsagePercent = next(30);
        s.cpu.clockGHz = next(4);
        s.npuUsagePercent = next(100);
        s.memory = {next(16), 15.5, next(100), next(4), next(2), next(8), next(1), 8.0};
        s.network.uploadKB = next(500);
        s.network.downloadKB = next(5000);
        s.socTemperatureCelsius = 40 + next(40);
        s.power.drawWatts = next(30);
        s.storage.totalGB = 476.9;
        s.storage.availableGB = next(400);
        s.storage.usedFraction = next(1);
        s.storage.readBytesPerSecond = next(1e8);
        s.storage.writeBytesPerSecond = next(1e8);
        s.storage.readPeakBytesPerSecond = next(2e8);
        s.storage.writePeakBytesPerSecond = next(2e8);
        platform::GpuDevice& g = s.gpu.devices[0];
        g.busyPercent = next(100);
        g.memoryBusyPercent = next(100);
        g.temperatureCelsius = 40 + next(40);
        g.vramUsedBytes = static_cast<std::uint64_t>(next(8e9));
        g.powerWatts = next(200);
        latency.currentMs = next(40);
        return {s, &latency};
    }
};

double fileMB(const QString& store) {
    const auto size = [](const QString& p) {
        return QFileInfo(p).exists() ? QFileInfo(p).size() : 0;
    };
    return static_cast<double>(size(store) + size(store + "-wal") + size(store + "-shm")) / 1e6;
}

// A day of rows through the recorder, in large batches.
void fillDay(const QString& store, double end) {
    HistoryRecorder::Options o{store};
    o.batchSeconds = 2000;
    HistoryRecorder recorder(o);
    Synthetic rows;
    for (double t = end - 86400; t < end; t += 1.0)
        recorder.record(rows.at(t));
}

// The month's minutes before that day, straight into the table.
void fillMinutesBefore(const QString& store, double dayStart) {
    history::StoreConnection connection(store);
    if (connection.open())
        return;
    QSqlDatabase& db = connection.db();
    const QStringList columns = history::tableColumns(db, history::kMinutesTable);
    QString marks = QStringLiteral("?");
    for (int i = 1; i < columns.size(); ++i)
        marks += QStringLiteral(",?");
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO minutes VALUES (%1)").arg(marks));
    Synthetic values;
    for (double t = dayStart - 29 * 86400.0; t < dayStart; t += 60.0) {
        insert.bindValue(0, static_cast<qint64>(t * 1000));
        for (int i = 1; i < columns.size(); ++i)
            insert.bindValue(i, values.next(100));
        insert.exec();
    }
    db.commit();
}

// Reading (on the chart's worker thread in the program) and drawing, each
// as wall time and as this thread's CPU time, best of five.
void chartTimes(const QString& store, const char* name, double span, double now) {
    const int width = 680;
    double read[2] = {1e9, 1e9}, draw[2] = {1e9, 1e9};
    std::size_t points = 0;
    for (int round = 0; round < 5; ++round) {
        const double c0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const auto t0 = steady_clock::now();
        HistoryChartData data = HistoryQuery(store).chart({"cpuUsage"}, now - span, now, width);
        const double c1 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const auto t1 = steady_clock::now();
        points = data.series[0].points.size();
        ui::HistoryChart chart;
        chart.resize(width, 300);
        chart.setData(std::move(data), {{"CPU", Qt::blue, {}}});
        QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
        chart.render(&image);
        const double c2 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const auto t2 = steady_clock::now();
        read[0] = std::min(read[0], duration<double, std::milli>(t1 - t0).count());
        read[1] = std::min(read[1], (c1 - c0) * 1e3);
        draw[0] = std::min(draw[0], duration<double, std::milli>(t2 - t1).count());
        draw[1] = std::min(draw[1], (c2 - c1) * 1e3);
    }
    std::printf("chart %-4s read %6.1f ms (CPU %6.1f ms), draw %5.1f ms (CPU %5.1f ms), %zu "
                "points\n",
                name, read[0], read[1], draw[0], draw[1], points);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString store = dir.filePath("month/history.sqlite");
    const double dayEnd = kStart + 86400;

    fillDay(store, dayEnd);
    const QString dayStore = dir.filePath("day/history.sqlite");
    fillDay(dayStore, dayEnd);
    std::printf("file after a day of full-rate rows: %.1f MB (goal < 100 MB)\n", fileMB(dayStore));
    fillMinutesBefore(store, dayEnd - 86400);
    std::printf("file with a day of full-rate rows and a month of minutes: %.1f MB\n",
                fileMB(store));

    // Steady state: one row a second on the full store, for six hours.
    const int cycles = 6 * 3600;
    std::vector<double> callUs, flushUs, callCpuUs;
    callUs.reserve(cycles);
    Synthetic rows;
    double processCpu = 0, mainCpu = 0;
    {
        const auto opening = steady_clock::now();
        HistoryRecorder recorder({store});
        recorder.waitUntilWritten(seconds(60));
        std::printf("opening the full store with its check, on the writer's thread: %.0f ms\n",
                    duration<double, std::milli>(steady_clock::now() - opening).count());
        rusage u0{};
        getrusage(RUSAGE_THREAD, &u0);
        const double p0 = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double m0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        for (int i = 0; i < cycles; ++i) {
            const FigureInputs inputs = rows.at(dayEnd + i);
            const double c0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            const auto t0 = steady_clock::now();
            recorder.record(inputs);
            const double us = duration<double, std::micro>(steady_clock::now() - t0).count();
            callUs.push_back(us);
            callCpuUs.push_back((cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - c0) * 1e6);
            if (i % 10 == 9) // the cycles that hand a batch over
                flushUs.push_back(us);
        }
        // Waits the main thread went into itself (a lock, the disk), against
        // times the scheduler took the processor away.
        rusage u1{};
        getrusage(RUSAGE_THREAD, &u1);
        mainCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - m0;
        recorder.waitUntilWritten(seconds(60));
        processCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - p0;
        std::printf("main thread over %d cycles: %ld waits of its own, %ld times put off the CPU\n",
                    cycles, u1.ru_nvcsw - u0.ru_nvcsw, u1.ru_nivcsw - u0.ru_nivcsw);

        // How long a batch takes to reach the disk once handed over.
        std::vector<double> batchMs;
        for (int b = 0; b < 100; ++b) {
            for (int i = 0; i < 9; ++i)
                recorder.record(rows.at(dayEnd + cycles + b * 10 + i));
            const auto t0 = steady_clock::now();
            recorder.waitUntilWritten(seconds(60));
            batchMs.push_back(duration<double, std::milli>(steady_clock::now() - t0).count());
        }
        std::sort(batchMs.begin(), batchMs.end());
        std::printf("a batch of 10 rows on disk after: median %.2f ms, worst %.2f ms (on the "
                    "writer's thread)\n",
                    batchMs[batchMs.size() / 2], batchMs.back());
    }
    std::printf("recording: %.1f us CPU per cycle, all threads (goal <= 50 us); %.1f us on the "
                "main thread\n",
                processCpu / cycles * 1e6, mainCpu / cycles * 1e6);
    // Wall time includes being put off the CPU by other processes; CPU time is
    // the work record() itself did.
    for (auto [name, values] : {std::pair{"record(), wall", &callUs},
                                std::pair{"record() with a hand-off, wall", &flushUs},
                                std::pair{"record(), CPU", &callCpuUs}}) {
        std::sort(values->begin(), values->end());
        std::printf("main thread, %s: median %.1f us, 99.9th %.1f us, longest %.3f ms (goal < "
                    "5 ms)\n",
                    name, (*values)[values->size() / 2], (*values)[values->size() * 999 / 1000],
                    values->back() / 1000.0);
    }
    std::printf("file after six more hours: %.1f MB\n", fileMB(store));

    const double now = dayEnd + cycles + 1000;
    chartTimes(store, "30d", 30 * 86400.0, now);
    chartTimes(store, "24h", 86400.0, now);
    chartTimes(store, "1h", 3600.0, now);
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("load average during the run: %.1f\n", load[0]);
    return 0;
}
