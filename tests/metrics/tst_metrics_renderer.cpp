#include "services/figures/figure_catalogue.h"
#include "services/metrics/catalogue_metrics.h"
#include "services/metrics/metrics_page.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

using namespace pw;
using namespace pw::metrics;

namespace {

// A hybrid laptop mid-run: every figure known.
Snapshot fullSnapshot() {
    Snapshot s;
    s.wallSeconds = 1700000000.5;
    s.cpu.usagePercent = 50.0;
    s.cpu.pClusterUsagePercent = 70.0;
    s.cpu.eClusterUsagePercent = 20.0;
    s.cpu.coreUsagePercent = {80.0, 60.0, 25.0, 15.0};
    s.cpu.coreIsEfficiency = {false, false, true, true};
    s.cpu.coreNumbers = {0, 1, 2, 5}; // CPU 3 and 4 offline
    s.cpu.coreSeconds = {{0, {10.0, 2.0, 100.0, 1.0}}, {5, {11.0, 3.0, 101.0, 0.0}}};
    s.cpu.clockGHz = 2.4;
    s.memory.totalGB = 16.0;
    s.memory.usedGB = 6.5;
    s.memory.pressurePercent = 40.625;
    s.network.receivedBytesTotal = 123456;
    s.network.transmittedBytesTotal = 654321;
    s.network.ipv4Address = QStringLiteral("192.168.77.5");
    s.network.activeConnections = {QStringLiteral("10.9.8.7:443")};
    s.socTemperatureCelsius = 61.5;
    s.power = {87, false, BatteryState::Discharging, 90, 12.25};
    s.storage.readBytesTotal = 4096;
    s.storage.writtenBytesTotal = 8192;
    platform::GpuDevice gpu;
    gpu.card = "card1";
    gpu.driver = "amdgpu";
    gpu.name = "Radeon";
    gpu.busyPercent = 30.0;
    gpu.vramTotalBytes = 8589934592ULL;
    s.gpu.devices = {gpu};
    s.fans = {{QStringLiteral("CPU fan"), 2100}};
    return s;
}

QByteArray render(const Snapshot& s, MetricsFormat format = MetricsFormat::Prometheus,
                  std::optional<double> latencyMs = 12.5) {
    LatencyFigures latency{latencyMs, {}};
    return renderMetrics(FigureInputs{s, &latency}, format);
}

// The value of the one sample line that starts with `series` followed by a space.
std::optional<double> valueOf(const QByteArray& page, const QByteArray& series) {
    for (const QByteArray& line : page.split('\n'))
        if (line.startsWith(series + ' '))
            return line.mid(series.size() + 1).toDouble();
    return std::nullopt;
}

} // namespace

class TestMetricsRenderer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueNamesFollowTheConventions() {
        const QRegularExpression valid(QStringLiteral("^pulsewick_[a-z][a-z0-9_]*[a-z]$"));
        QSet<QString> families;
        for (const Figure& f : figureCatalogue()) {
            const QString name = QString::fromStdString(metricFamilyName(f));
            if (f.metric.name.empty()) {
                QVERIFY(name.isEmpty());
                continue;
            }
            QVERIFY2(!name.isEmpty(), f.id.data()); // a metric needs a base unit
            QVERIFY2(valid.match(name).hasMatch(), qPrintable(name));
            QVERIFY2(!name.endsWith(QLatin1String("_total")), qPrintable(name));
            QVERIFY(f.kind == FigureKind::Gauge || f.kind == FigureKind::Counter ||
                    f.kind == FigureKind::Flag);
            QVERIFY2(!families.contains(name), qPrintable(name));
            families.insert(name);
        }
        QVERIFY(families.contains(QStringLiteral("pulsewick_cpu_usage_ratio")));
        QVERIFY(families.contains(QStringLiteral("pulsewick_network_receive_bytes")));
    }

    // Every sample belongs to the family declared above it, and no family is
    // declared twice: what a scraper needs to read the page.
    void everySampleFollowsItsFamily_data() {
        QTest::addColumn<MetricsFormat>("format");
        QTest::newRow("prometheus") << MetricsFormat::Prometheus;
        QTest::newRow("openmetrics") << MetricsFormat::OpenMetrics;
    }
    void everySampleFollowsItsFamily() {
        QFETCH(MetricsFormat, format);
        const QByteArray page = render(fullSnapshot(), format);
        QSet<QByteArray> declared;
        QByteArray family;
        QByteArray type;
        int samples = 0;
        for (const QByteArray& line : page.split('\n')) {
            if (line.isEmpty() || line.startsWith("# HELP ") || line == "# EOF")
                continue;
            if (line.startsWith("# TYPE ")) {
                const QList<QByteArray> parts = line.split(' ');
                family = parts[2];
                type = parts[3];
                QVERIFY2(!declared.contains(family), family.constData());
                declared.insert(family);
                continue;
            }
            QByteArray name = line.left(line.indexOf(line.contains('{') ? '{' : ' '));
            if (format == MetricsFormat::OpenMetrics && type != "gauge") {
                const QByteArray suffix = type == "counter" ? "_total" : "_info";
                QVERIFY(name.endsWith(suffix));
                name.chop(suffix.size());
            }
            QCOMPARE(name, family);
            ++samples;
        }
        QVERIFY(samples > 30);
        QCOMPARE(page.endsWith("# EOF\n"), format == MetricsFormat::OpenMetrics);
    }

    void valuesAreInBaseUnits() {
        const QByteArray page = render(fullSnapshot());
        QCOMPARE(valueOf(page, "pulsewick_memory_total_bytes"), 17179869184.0);
        QCOMPARE(valueOf(page, "pulsewick_cpu_usage_ratio"), 0.5);
        QCOMPARE(valueOf(page, "pulsewick_memory_pressure_ratio"), 0.40625);
        QCOMPARE(valueOf(page, "pulsewick_latency_seconds"), 0.0125);
        QCOMPARE(valueOf(page, "pulsewick_battery_time_to_empty_seconds"), 5400.0);
        QCOMPARE(valueOf(page, "pulsewick_battery_charge_ratio"), 0.87);
        QCOMPARE(valueOf(page, "pulsewick_battery_charging"), 0.0);
        QCOMPARE(valueOf(page, "pulsewick_cpu_frequency_hertz"), 2.4e9);
        QCOMPARE(valueOf(page, "pulsewick_network_receive_bytes_total"), 123456.0);
        QCOMPARE(valueOf(page, "pulsewick_disk_written_bytes_total"), 8192.0);
        QCOMPARE(valueOf(page, "pulsewick_temperature_celsius{sensor=\"package\"}"), 61.5);
        QCOMPARE(valueOf(page, "pulsewick_build_info{version=\"" PULSEWICK_VERSION "\"}"), 1.0);
        QCOMPARE(valueOf(page, "pulsewick_cycle_timestamp_seconds"), 1700000000.5);
        QCOMPARE(valueOf(page, "pulsewick_gpu_busy_ratio{gpu=\"card1\",driver=\"amdgpu\"}"), 0.3);
        QCOMPARE(valueOf(page, "pulsewick_gpu_memory_total_bytes{gpu=\"card1\",driver=\"amdgpu\"}"),
                 8589934592.0);
        QCOMPARE(valueOf(page, "pulsewick_fan_speed_rpm{fan=\"CPU fan\"}"), 2100.0);
        QCOMPARE(valueOf(page, "pulsewick_cpu_seconds_total{cpu=\"5\",mode=\"system\"}"), 3.0);
    }

    void clustersAndCoresAreLabelled() {
        Snapshot s = fullSnapshot();
        QByteArray page = render(s);
        QCOMPARE(valueOf(page, "pulsewick_cpu_cluster_usage_ratio{cluster=\"performance\"}"), 0.7);
        QCOMPARE(valueOf(page, "pulsewick_cpu_cluster_usage_ratio{cluster=\"efficiency\"}"), 0.2);
        QCOMPARE(valueOf(page, "pulsewick_cpu_core_usage_ratio{cpu=\"1\",cluster=\"performance\"}"),
                 0.6);
        QCOMPARE(valueOf(page, "pulsewick_cpu_core_usage_ratio{cpu=\"5\",cluster=\"efficiency\"}"),
                 0.15);

        // Without efficiency cores the machine named, no core is called one.
        s.cpu.eClusterUsagePercent.reset();
        page = render(s);
        QVERIFY(!page.contains("efficiency"));
        QCOMPARE(valueOf(page, "pulsewick_cpu_core_usage_ratio{cpu=\"5\",cluster=\"performance\"}"),
                 0.15);
    }

    void unknownFiguresAreAbsent() {
        Snapshot s = fullSnapshot();
        s.socTemperatureCelsius.reset();
        s.power = {};
        s.network.receivedBytesTotal.reset();
        s.gpu.devices.front().busyPercent.reset();
        s.cpu.clockGHz = std::numeric_limits<double>::quiet_NaN();
        const QByteArray page = render(s, MetricsFormat::Prometheus, std::nullopt);
        for (const char* absent :
             {"pulsewick_temperature_celsius", "pulsewick_battery", "pulsewick_power_draw",
              "pulsewick_network_receive", "pulsewick_gpu_busy", "pulsewick_cpu_frequency",
              "pulsewick_latency"})
            QVERIFY2(!page.contains(absent), absent);
        QVERIFY(page.contains("pulsewick_network_transmit_bytes_total 654321\n"));

        // Addresses and connections are text the metrics never carry.
        QVERIFY(!page.contains("192.168.77.5"));
        QVERIFY(!page.contains("10.9.8.7"));

        // Before the first measured cycle there is nothing but the build.
        const QByteArray first = render(Snapshot{});
        QCOMPARE(first.count("# TYPE "), 1);
        QVERIFY(first.contains("pulsewick_build_info{"));
    }

    void hostileLabelsStayInTheirLine() {
        Snapshot s = fullSnapshot();
        s.fans = {{QStringLiteral("a\"b\\c\nd\x1b[31m"), 1},
                  {QStringLiteral("twin"), 2},
                  {QStringLiteral("twin"), 3}};
        s.gpu.devices.front().name = std::string("bad \xff\xfe utf8");
        const QByteArray page = render(s);
        QVERIFY(
            page.contains("pulsewick_fan_speed_rpm{fan=\"a\\\"b\\\\c\\nd\xEF\xBF\xBD[31m\"} 1\n"));
        QVERIFY(page.contains("{fan=\"twin\"} 2\n"));
        QVERIFY(page.contains("{fan=\"twin #2\"} 3\n"));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(page);
        QVERIFY(!utf8.hasError());
        QVERIFY(decoded.contains(QStringLiteral("name=\"bad \uFFFD\uFFFD utf8\"")));
    }

    // Suffixes are checked family by family above; here the build's type,
    // which differs by format, and a counter's value in OpenMetrics.
    void openMetricsTypesAndValues() {
        const QByteArray page = render(fullSnapshot(), MetricsFormat::OpenMetrics);
        QVERIFY(page.contains("# TYPE pulsewick_build info\n"));
        QVERIFY(page.contains("\npulsewick_network_receive_bytes_total 123456\n"));
        QVERIFY(render(fullSnapshot()).contains("# TYPE pulsewick_build_info gauge\n"));
    }

    void acceptHeaderChoosesTheFormat_data() {
        QTest::addColumn<QByteArray>("accept");
        QTest::addColumn<MetricsFormat>("format");
        const auto om = MetricsFormat::OpenMetrics;
        const auto text = MetricsFormat::Prometheus;
        QTest::newRow("prometheus server")
            << QByteArray("application/openmetrics-text;version=1.0.0,application/"
                          "openmetrics-text;version=0.0.1;q=0.75,text/plain;version=0.0.4;q=0.5,"
                          "*/*;q=0.1")
            << om;
        QTest::newRow("none") << QByteArray() << text;
        QTest::newRow("anything") << QByteArray("*/*") << text;
        QTest::newRow("plain text") << QByteArray("text/plain; version=0.0.4") << text;
        QTest::newRow("refused") << QByteArray("application/openmetrics-text; q=0") << text;
        QTest::newRow("ranked lower")
            << QByteArray("application/openmetrics-text;q=0.3, text/plain;q=0.5") << text;
        QTest::newRow("upper case") << QByteArray("Application/OpenMetrics-Text") << om;
        QTest::newRow("bad quality") << QByteArray("application/openmetrics-text;q=x") << text;
    }
    void acceptHeaderChoosesTheFormat() {
        QFETCH(QByteArray, accept);
        QFETCH(MetricsFormat, format);
        QCOMPARE(negotiateFormat(accept), format);
    }
};

QTEST_GUILESS_MAIN(TestMetricsRenderer)
#include "tst_metrics_renderer.moc"
