// The History page over a real store: the chart, its gaps and hover, and the
// range export beside the 60-value one.
#include "history_test_support.h"
#include "services/history/history_recorder.h"
#include "services/history/history_service.h"
#include "ui/history_chart.h"
#include "ui/history_chart_card.h"
#include "ui/segmented_button.h"
#include "ui/settings_pages.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace pw;
using namespace pw::ui;

namespace {

HistorySeries series(std::initializer_list<std::pair<double, double>> points, double width) {
    HistorySeries s{QStringLiteral("cpuUsage"), {}};
    for (auto [t, v] : points)
        s.points.push_back({t, static_cast<qint64>(t / width), v, v, v});
    return s;
}

// A store with two stretches of a minute each, ten minutes apart, ending now.
struct StoreRig {
    QTemporaryDir dir;
    QString store() const { return dir.filePath(QStringLiteral("history.sqlite")); }
    double now = std::floor(static_cast<double>(QDateTime::currentSecsSinceEpoch()));
    StoreRig() {
        HistoryRecorder recorder({store()});
        Snapshot s;
        for (double t = now - 780; t < now; t += 1.0) {
            if (t >= now - 720 && t < now - 60)
                continue; // asleep
            s.wallSeconds = t;
            s.cpu.usagePercent = t < now - 720 ? 20.0 : 80.0;
            recorder.record({s, nullptr});
        }
    }
};

} // namespace

class TestHistoryChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stretchesBreakAtGapsAndUnknowns() {
        const auto place = [](double t, double v) { return QPointF(t, v); };
        HistorySeries s = series({{0, 1}, {1, 2}, {2, 3}, {10, 4}, {11, 5}, {12, 6}}, 1.0);
        auto stretches = historyLineStretches(s, 1.0, place);
        QCOMPARE(stretches.size(), std::size_t(2));
        QCOMPARE(stretches[0].size(), 3);
        QCOMPARE(stretches[1].front(), QPointF(10, 4));
        s.points[4].mean = std::nan("");
        stretches = historyLineStretches(s, 1.0, place);
        QCOMPARE(stretches.size(), std::size_t(3));
        QCOMPARE(stretches[2].size(), 1); // a lone point still shows
    }

    void pageChartsTheStore() {
        StoreRig rig;
        HistoryService history(rig.store(), [&rig] { return rig.now; });
        QStringList revealed;
        bool reported = false;
        std::unique_ptr<QWidget> page(
            buildHistoryPage([&reported] { reported = true; }, &history,
                             [&revealed](const QString& path) { revealed << path; }));
        page->resize(680, 460);
        auto* card = page->findChild<HistoryChartCard*>();
        QSignalSpy loaded(card, &HistoryChartCard::loaded);
        page->show();
        QVERIFY(loaded.wait(10000));

        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("exportCsvButton")),
                          Qt::LeftButton);
        QVERIFY(reported);

        // The hour at full rate: two stretches with the sleep between.
        card->rangePicker()->setCurrentIndex(0); // 1h, full rate
        QVERIFY(loaded.wait(10000));
        HistoryChart* chart = card->chart();
        const HistoryChartData& data = chart->data();
        QCOMPARE(data.rowSeconds, 1.0);
        const auto stretches = historyLineStretches(
            data.series[0], data.rowSeconds, [](double t, double v) { return QPointF(t, v); });
        QCOMPARE(stretches.size(), std::size_t(2));
        QVERIFY(data.series[0].points.size() <= std::size_t(chart->width()));

        // Hover over the second stretch reads its time and value; over the gap, nothing.
        const QRect r = chart->rect();
        const auto xAt = [&](double t) {
            const double left = 56.0, right = r.width() - 8.0;
            return left +
                   (t - data.fromSeconds) / (data.toSeconds - data.fromSeconds) * (right - left);
        };
        QTest::mouseMove(chart, QPoint(int(xAt(rig.now - 30)), r.height() / 2));
        QVERIFY2(chart->hoverText().contains(QStringLiteral("CPU 80.0%")),
                 qPrintable(chart->hoverText()));
        // The hover takes the point under the pixel, a few seconds either side
        // of the mouse's time, which may fall in the next or previous minute.
        const double secondsPerPixel = (data.toSeconds - data.fromSeconds) / (r.width() - 64.0);
        bool named = false;
        for (double t :
             {rig.now - 30 - secondsPerPixel, rig.now - 30, rig.now - 30 + secondsPerPixel})
            named =
                named || chart->hoverText().contains(
                             QDateTime::fromSecsSinceEpoch(qint64(t)).toString("yyyy-MM-dd HH:mm"));
        QVERIFY2(named, qPrintable(chart->hoverText()));
        QTest::mouseMove(chart, QPoint(int(xAt(rig.now - 400)), r.height() / 2));
        QCOMPARE(chart->hoverText(), QString());

        // The range export names the range and writes the stored rows.
        auto* rangeExport = page->findChild<QPushButton*>(QStringLiteral("exportRangeCsvButton"));
        QCOMPARE(rangeExport->text(), QStringLiteral("Export 1h CSV"));
        QTemporaryDir tmp;
        qputenv("TMPDIR", tmp.path().toUtf8());
        QTest::mouseClick(rangeExport, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(revealed.size(), 1, 10000);
        QVERIFY(
            QFileInfo(revealed[0]).fileName().startsWith(QStringLiteral("Pulsewick_History_1h_")));
        QFile csv(revealed[0]);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count('\n'), 1 + 120);
        qunsetenv("TMPDIR");
    }

    void pageWithoutAStoreStillBuilds() {
        std::unique_ptr<QWidget> page(buildHistoryPage({}, nullptr, {}));
        page->show();
        auto* rangeExport = page->findChild<QPushButton*>(QStringLiteral("exportRangeCsvButton"));
        QVERIFY(!rangeExport->isEnabled());
        QVERIFY(page->findChild<QPushButton*>(QStringLiteral("exportCsvButton"))->isEnabled());
    }
};

QTEST_MAIN(TestHistoryChart)
#include "tst_history_chart.moc"
