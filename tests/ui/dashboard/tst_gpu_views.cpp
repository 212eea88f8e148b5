// The GPU page and the GPU strip over the engine's models fed by fake GPUs.
#include "ui/gauge_ring.h"
#include "ui/gpu_card_view.h"
#include "ui/gpu_page_text.h"
#include "ui/gpu_strip.h"
#include "ui/settings_pages.h"

#include "ui_test_support.h"

#include <QLabel>
#include <QTest>

#include <memory>

using namespace pw;
using namespace pw::ui;

namespace {

const QString kDash = QStringLiteral("\u2014");

} // namespace

class GpuViewsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void texts() {
        platform::GpuDevice amd = platform::fakeGpu("card1", "amdgpu", "AMD GPU [1002:73ef]");
        amd.pciAddress = "0000:03:00.0";
        amd.busyPercent = 57.6;
        amd.vramUsedBytes = 1ull << 30;
        amd.vramTotalBytes = 8ull << 30;
        amd.temperatureCelsius = 48.9;
        amd.powerWatts = 9.04;
        amd.clockMHz = 800;
        amd.fanRpm = 2240;
        QCOMPARE(gpuStateText(amd), QStringLiteral("Active"));
        QCOMPARE(gpuIdentityText(amd),
                 QStringLiteral("amdgpu \u00B7 discrete \u00B7 0000:03:00.0"));
        QCOMPARE(gpuFigureLines(amd), (QList<GpuFigureLine>{{"Busy", "58%"},
                                                            {"Memory busy", kDash},
                                                            {"VRAM", "1.0 / 8.0 GB"},
                                                            {"Temperature", "48\u00B0C"},
                                                            {"Power", "9.0 W"},
                                                            {"Clock", "800 MHz"},
                                                            {"Fan", "2,240 RPM"}}));

        platform::GpuDevice nvidia = platform::fakeGpu("card0", "nvidia", "NVIDIA T400");
        nvidia.fanPercent = 40;
        nvidia.vramUsedBytes = 1ull << 30; // without a total, no VRAM figure
        QCOMPARE(gpuFigureLines(nvidia).at(6), (GpuFigureLine{"Fan", "40%"}));
        QCOMPARE(gpuFigureLines(nvidia).at(2), (GpuFigureLine{"VRAM", kDash}));

        platform::GpuDevice asleep = platform::fakeGpu("card2", "", "panfrost");
        asleep.integrated = true;
        asleep.suspended = true;
        QCOMPARE(gpuStateText(asleep), QStringLiteral("Sleeping"));
        QCOMPARE(gpuIdentityText(asleep), QStringLiteral("integrated"));
        for (const GpuFigureLine& line : gpuFigureLines(asleep))
            QCOMPARE(line.value, kDash);

        QCOMPARE(gpuProcessLine({2400, "blender", "card1", 60.4}),
                 (GpuFigureLine{"blender (2400) \u00B7 card1", "60%"}));
        QVERIFY(gpuUnreadableText(0).isEmpty());
        QCOMPARE(gpuUnreadableText(1),
                 QStringLiteral("1 process could not be read: its GPU use is not counted."));
    }

    void pageListsEveryCard() {
        test::ModelFixture rig;
        std::unique_ptr<QWidget> page(buildGpuPage(rig.models()));
        rig.cycle(10);
        QVERIFY(page->findChild<QLabel*>("gpuNoneText")->isVisibleTo(page.get()));
        QVERIFY(page->findChildren<GpuCardView*>().isEmpty());

        platform::GpuDevice intel = platform::fakeGpu("card0", "i915", "Intel GPU [8086:46a6]");
        intel.integrated = true;
        intel.busyPercent = 35;
        platform::GpuDevice amd = platform::fakeGpu("card1", "amdgpu", "AMD GPU [1002:73ef]");
        amd.suspended = true;
        rig.fake.gpu->devices = {intel, amd};
        rig.fake.gpu->processes = {{{1200, "gnome-shell", "card0", 35}}, 2};
        rig.cycle(10);
        const auto cards = page->findChildren<GpuCardView*>();
        QCOMPARE(cards.size(), 2);
        QCOMPARE(cards[0]->nameText(), QStringLiteral("Intel GPU [8086:46a6]"));
        QCOMPARE(cards[0]->figureTexts().at(0), QStringLiteral("Busy: 35%"));
        QCOMPARE(cards[1]->stateText(), QStringLiteral("Sleeping"));
        QCOMPARE(cards[1]->figureTexts().at(0), QStringLiteral("Busy: ") + kDash);
        QVERIFY(!page->findChild<QLabel*>("gpuNoneText")->isVisibleTo(page.get()));
        QVERIFY(!page->findChild<QLabel*>("gpuProcessesEmpty")->isVisibleTo(page.get()));
        const auto* unreadable = page->findChild<QLabel*>("gpuProcessesUnreadable");
        QVERIFY(unreadable->isVisibleTo(page.get()));
        QVERIFY(unreadable->text().startsWith(QStringLiteral("2 processes")));

        // The card wakes: the same views show it.
        rig.fake.gpu->devices[1].suspended = false;
        rig.cycle(10);
        QCOMPARE(page->findChildren<GpuCardView*>(), cards);
        QCOMPARE(cards[1]->stateText(), QStringLiteral("Active"));
    }

    void stripNamesTheShownCard() {
        test::ModelFixture rig;
        GpuStrip strip(rig.engine->gpu);
        platform::GpuDevice intel = platform::fakeGpu("card0", "i915", "Intel GPU [8086:46a6]");
        intel.integrated = true;
        intel.busyPercent = 35;
        intel.busyIsPartial = true;
        platform::GpuDevice amd = platform::fakeGpu("card1", "amdgpu", "AMD GPU [1002:73ef]");
        amd.suspended = true;
        rig.fake.gpu->devices = {intel, amd};
        rig.fake.gpu->processes = {{}, 1};
        rig.cycle(10);
        strip.refresh();
        QCOMPARE(strip.cardNameText(), QStringLiteral("Intel GPU [8086:46a6]"));
        QCOMPARE(strip.gauges()[0]->toolTip(),
                 QStringLiteral("Counts only the processes you may read; 1 other process is "
                                "not counted"));

        rig.fake.gpu->devices[1].suspended = false;
        rig.fake.gpu->devices[1].busyPercent = 3;
        rig.cycle(10);
        strip.refresh();
        QCOMPARE(strip.cardNameText(), QStringLiteral("AMD GPU [1002:73ef]"));
        QVERIFY(strip.gauges()[0]->toolTip().isEmpty());
    }
};

QTEST_MAIN(GpuViewsTest)
#include "tst_gpu_views.moc"
