// The views over the whole engine: what a machine cannot give reads "—"
// everywhere, what it gives reads as a number, and every view redraws once
// per cycle however many figures changed.
#include "ui/ui_test_support.h"

#include "ui/cpu_tab_view.h"
#include "ui/cycle_refresh.h"
#include "ui/dashboard_window.h"
#include "ui/disk_tab_view.h"
#include "ui/gauge_ring.h"
#include "ui/gpu_strip.h"
#include "ui/memory_tab_view.h"
#include "ui/menu_bar_readout.h"
#include "ui/menu_bar_view.h"
#include "ui/network_tab_view.h"
#include "ui/sensor_circle.h"
#include "ui/sensor_row.h"
#include "ui/settings_view.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace pw::ui;
using pw::test::ModelFixture;
namespace platform = pw::platform;

namespace {

const QString kDash = QString::fromUtf8("\u2014");

// The Sensors page's badges and lines by title ("E-Core Avg" for the lines
// that share one).
QMap<QString, QString> sensorFigures(QWidget* window) {
    QMap<QString, QString> figures;
    for (SensorCircle* circle : window->findChildren<SensorCircle*>())
        figures.insert(circle->title(), circle->value());
    for (SensorRow* row : window->findChildren<SensorRow*>())
        figures.insert(row->title() == QLatin1String("CLUSTERS") ? row->subtitle() : row->title(),
                       row->value());
    figures.insert(QStringLiteral("SOC"), window->findChild<QLabel*>("socBadge")->text());
    return figures;
}

QString labelText(QWidget* window, const char* name) {
    return window->findChild<QLabel*>(QLatin1String(name))->text();
}

std::unique_ptr<DashboardWindow> openDashboard(ModelFixture& f, const QString& page) {
    return std::make_unique<DashboardWindow>(f.themeManager, *f.preferences, f.models(), page);
}

} // namespace

class TestLiveFigures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unknownFiguresReadAsTheDash() {
        ModelFixture f(pw::test::bareDesktop);
        f.cycle(40.0);
        f.cycle(40.0);

        const ReadoutTexts readout = readoutTexts(readoutFigures(f.stats()));
        QCOMPARE(readout.cpu, QStringLiteral("40%"));
        QCOMPARE(readout.temperature, kDash);
        QCOMPARE(readoutToolTip(readoutFigures(f.stats())),
                 QStringLiteral("Pulsewick: CPU 40%, ") + kDash);

        CPUTabView cpu(f.models(), *f.monitor, *f.preferences);
        QCOMPARE(cpu.headerText(), kDash + QStringLiteral(", ") + kDash); // no clock, no sensor
        QCOMPARE(cpu.efficiencyText(), kDash);
        QCOMPARE(cpu.performanceText(), QStringLiteral("40%"));
        for (GaugeRing* gauge : cpu.gpuStrip()->gauges()) {
            QCOMPARE(gauge->text(), kDash);
            QCOMPARE(gauge->fraction(), 0.0);
        }
        QCOMPARE(cpu.gpuStrip()->headerText(), QStringLiteral("No GPU"));

        auto window = openDashboard(f, QStringLiteral("Sensors"));
        const auto sensors = sensorFigures(window.get());
        QCOMPARE(sensors.value("CPU"), QStringLiteral("40%"));
        QCOMPARE(sensors.value("P-Core Avg"), QStringLiteral("40%"));
        for (const char* unknown :
             {"TEMP", "ANE", "TEMPERATURE", "EFFICIENCY", "POWER DRAW", "E-Core Avg", "GPU POWER"})
            QVERIFY2(sensors.value(unknown) == kDash, unknown);
        QCOMPARE(sensors.value("SOC"), QStringLiteral("SOC\n") + kDash);

        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Power"));
        for (const char* unknown : {"batteryPercentText", "batteryChargingText", "powerDrawText"})
            QVERIFY2(labelText(window.get(), unknown) == kDash, unknown);
        QCOMPARE(labelText(window.get(), "efficiencyText"), QStringLiteral("Efficiency: ") + kDash);
    }

    void knownFiguresReadAsNumbers() {
        ModelFixture f(pw::test::laptop);
        f.cycle(40.0, 45.7);
        f.cycle(40.0, 45.7);

        QCOMPARE(readoutTexts(readoutFigures(f.stats())).temperature,
                 QString::fromUtf8("45.7\u00B0"));
        CPUTabView cpu(f.models(), *f.monitor, *f.preferences);
        QCOMPARE(cpu.headerText(), QString::fromUtf8("1.89 GHz, 45\u00B0"));
        QCOMPARE(cpu.efficiencyText(), QStringLiteral("40%"));
        QCOMPARE(cpu.coreRings().size(), 4);

        auto window = openDashboard(f, QStringLiteral("Sensors"));
        const auto sensors = sensorFigures(window.get());
        QCOMPARE(sensors.value("TEMP"), QString::fromUtf8("45\u00B0"));
        QCOMPARE(sensors.value("TEMPERATURE"), QString::fromUtf8("45\u00B0C"));
        QCOMPARE(sensors.value("POWER DRAW"), QStringLiteral("12.50 W"));
        QCOMPARE(sensors.value("EFFICIENCY"), QStringLiteral("3.20")); // 40 % at 12.5 W
        QCOMPARE(sensors.value("E-Core Avg"), QStringLiteral("40%"));
        QCOMPARE(sensors.value("GPU POWER"), QStringLiteral("21.50 W"));

        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Power"));
        QCOMPARE(labelText(window.get(), "batteryPercentText"), QStringLiteral("80%"));
        QCOMPARE(labelText(window.get(), "batteryChargingText"), QStringLiteral("Charging"));
        QCOMPARE(labelText(window.get(), "powerDrawText"), QStringLiteral("12.50 W"));
        QCOMPARE(labelText(window.get(), "efficiencyText"),
                 QStringLiteral("Efficiency: 3.2 ops/W"));

        // The GPU's power goes when the card stops reporting it.
        f.fake.gpu->devices[0].powerWatts.reset();
        window->settingsView()->setSelectedSidebarItem(QStringLiteral("Sensors"));
        f.cycle(40.0, 45.7);
        QCOMPARE(sensorFigures(window.get()).value("GPU POWER"), kDash);
    }

    void everyViewRefreshesOncePerCycle() {
        ModelFixture f(pw::test::laptop);
        f.setMemory(4.0, 2.0, 1.0, 16.0, 0.5);
        f.cycle(20.0, 40.0);

        MenuBarView readout(f.stats());
        CPUTabView cpu(f.models(), *f.monitor, *f.preferences);
        MemoryTabView memory(f.models(), *f.monitor, *f.preferences);
        NetworkTabView network(f.models(), *f.monitor, *f.preferences);
        DiskTabView disk(f.models(), *f.monitor, *f.preferences);
        auto window = openDashboard(f, QStringLiteral("Sensors"));
        QList<QWidget*> views = {&readout, &cpu, &memory, &network, &disk};
        for (const char* page : {"Sensors", "Memory", "Disk", "Power", "Network", "Fans"}) {
            window->settingsView()->setSelectedSidebarItem(QString::fromLatin1(page));
            views << window->settingsView()->currentPage();
        }
        QList<CycleRefresh*> refreshers;
        QList<int> before;
        for (QWidget* view : views) {
            const auto own = view->findChildren<CycleRefresh*>();
            QVERIFY2(own.size() == 1, qPrintable(view->metaObject()->className()));
            refreshers << own.first();
            before << own.first()->count();
        }

        // One cycle in which nearly everything moves.
        const QString headerBefore = cpu.headerText();
        QString headerMidCycle;
        connect(&f.stats(), &pw::SystemStatsProvider::socTemperatureChanged, this,
                [&] { headerMidCycle = cpu.headerText(); });
        std::vector<std::unique_ptr<QSignalSpy>> changes;
        for (QObject* model :
             std::initializer_list<QObject*>{&f.engine->stats, &f.engine->cpu, &f.engine->gpu}) {
            const QMetaObject* meta = model->metaObject();
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
                changes.push_back(
                    std::make_unique<QSignalSpy>(model, meta->property(i).notifySignal()));
        }
        f.setMemory(6.0, 3.0, 1.5, 16.0, 1.0);
        f.fake.power->supplies[0].capacity = 79;
        f.fake.power->supplies[0].powerNow = 14'000'000;
        f.fake.gpu->devices[0].busyPercent = 64.0;
        f.fake.gpu->devices[0].powerWatts = 48.0;
        f.fake.cpu->mhz = 3200.0;
        f.cycle(70.0, 61.0);

        int changed = 0;
        for (const auto& spy : changes)
            changed += spy->isEmpty() ? 0 : 1;
        QVERIFY2(changed >= 15, qPrintable(QString::number(changed)));
        for (qsizetype i = 0; i < refreshers.size(); ++i)
            QCOMPARE(refreshers[i]->count(), before[i] + 1);
        // Nothing was drawn half-way through the cycle.
        QCOMPARE(headerMidCycle, headerBefore);
        QCOMPARE(cpu.headerText(), QString::fromUtf8("3.20 GHz, 61\u00B0"));
    }
};

QTEST_MAIN(TestLiveFigures)
#include "tst_live_figures.moc"
