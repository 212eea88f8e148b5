// The live Memory, Power and Network pages.
#include "services/network/network_details_monitor.h"
#include "services/stats_models.h"
#include "services/system_stats_provider.h"
#include "ui/cycle_refresh.h"
#include "ui/format/figure_format.h"
#include "ui/level_bar_chart.h"
#include "ui/memory_card.h"
#include "ui/network_card.h"
#include "ui/rounded_card.h"
#include "ui/sensor_row.h"
#include "ui/settings_logic.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"
#include "ui/symbols.h"

#include <QHBoxLayout>

#include <optional>

namespace pw::ui {
using namespace dashboardStyle;
using pageParts::pageStack;

namespace {

QVBoxLayout* cardStack(RoundedCard* card, int spacing) {
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    layout->setSpacing(spacing);
    return layout;
}

// The pressure bar with the pressure and usage beneath it.
struct PressureCard {
    RoundedCard* card;
    LevelBarChart* bar;
    QLabel* pressure;
    QLabel* usage;

    void show(const MemoryFigures& memory) const {
        bar->setLevel(memory.pressurePercent, memoryPressureColor(memory.pressurePercent));
        pressure->setText(wholeText(memory.pressurePercent, u"%"));
        usage->setText(memoryUsageText(memory));
    }
};

PressureCard pressureCard() {
    auto* card = new RoundedCard(whiteAt(0.05), 12);
    auto* layout = cardStack(card, 10);
    layout->addWidget(makeLabel(QStringLiteral("Memory Pressure"), textStyle::headline()));

    auto* bar = new LevelBarChart;
    bar->setObjectName(QStringLiteral("memoryPressureBar"));
    layout->addWidget(bar);

    auto* pressure = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    pressure->setObjectName(QStringLiteral("memoryPressureText"));
    auto* usage = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    usage->setObjectName(QStringLiteral("memoryUsageText"));
    auto* row = new QHBoxLayout;
    row->addWidget(pressure);
    row->addStretch();
    row->addWidget(usage);
    layout->addLayout(row);

    return {card, bar, pressure, usage};
}

QWidget* connectionRow(const QString& address) {
    auto* row = new RoundedCard(whiteAt(0.05), 6);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(8, 8, 8, 8);
    auto* globe = new QLabel;
    globe->setPixmap(symbolPixmap(QStringLiteral("globe"), systemColor::white(), 14,
                                  globe->devicePixelRatioF()));
    line->addWidget(globe);
    line->addWidget(makeLabel(address, systemFont(13)));
    line->addStretch();
    line->addWidget(
        makeLabel(QStringLiteral("ESTABLISHED"), textStyle::caption(), systemColor::green()));
    return row;
}

QWidget* noConnectionRow() {
    auto* row = new RoundedCard(whiteAt(0.05), 6);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(8, 8, 8, 8);
    line->addWidget(makeLabel(QStringLiteral("No established connections"), systemFont(13),
                              systemColor::secondaryLabel()));
    line->addStretch();
    return row;
}

} // namespace

QWidget* buildMemoryPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("MemoryPage"));
    auto* layout = pageStack(page, 20);

    auto* app = new MemoryCard(QStringLiteral("App Memory"), QString(), systemColor::blue());
    auto* wired = new MemoryCard(QStringLiteral("Wired"), QString(), systemColor::orange());
    auto* compressed =
        new MemoryCard(QStringLiteral("Compressed"), QString(), systemColor::purple());
    auto* cards = new QHBoxLayout;
    cards->setSpacing(20);
    cards->addWidget(app);
    cards->addWidget(wired);
    cards->addWidget(compressed);
    layout->addLayout(cards);

    const PressureCard pressure = pressureCard();
    layout->addWidget(pressure.card);

    auto* swap = new SensorRow(QStringLiteral("SWAP"), QStringLiteral("Swap Used"));
    layout->addWidget(swap);
    layout->addStretch();

    new CycleRefresh(
        models.stats,
        [app, wired, compressed, pressure, swap, models] {
            const MemoryFigures& memory = models.stats.snapshot().memory;
            pressure.show(memory);
            app->setValue(fixedText(memory.appGB, 2, u" GB"));
            wired->setValue(fixedText(memory.wiredGB, 2, u" GB"));
            compressed->setValue(fixedText(memory.compressedGB, 2, u" GB"));
            swap->setValue(fixedText(memory.swapUsedGB, 2, u" GB"));
        },
        page);
    return page;
}

QWidget* buildPowerPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PowerPage"));
    auto* layout = pageStack(page, 20);

    auto* battery = new RoundedCard(whiteAt(0.05), 12);
    battery->setFixedWidth(150);
    auto* batteryStack = cardStack(battery, 4);
    batteryStack->addWidget(
        makeLabel(QStringLiteral("Battery"), textStyle::caption(), systemColor::secondaryLabel()));
    auto* percent = makeLabel(QString(), largeTitle());
    percent->setObjectName(QStringLiteral("batteryPercentText"));
    auto* charging = makeLabel(QString(), textStyle::caption(), systemColor::green());
    charging->setObjectName(QStringLiteral("batteryChargingText"));
    batteryStack->addWidget(percent);
    batteryStack->addWidget(charging);

    auto* power = new RoundedCard(whiteAt(0.05), 12);
    power->setFixedWidth(150);
    auto* powerStack = cardStack(power, 4);
    powerStack->addWidget(makeLabel(QStringLiteral("Power Draw"), textStyle::caption(),
                                    systemColor::secondaryLabel()));
    auto* draw = makeLabel(QString(), largeTitle());
    draw->setObjectName(QStringLiteral("powerDrawText"));
    powerStack->addWidget(draw);
    powerStack->addStretch();

    auto* cards = new QHBoxLayout;
    cards->setSpacing(20);
    cards->addWidget(battery, 0, Qt::AlignTop);
    cards->addWidget(power, 0, Qt::AlignTop);
    cards->addStretch();
    layout->addLayout(cards);

    auto* efficiency = makeLabel(QString(), subheadline());
    efficiency->setObjectName(QStringLiteral("efficiencyText"));
    layout->addWidget(efficiency);
    layout->addStretch();

    new CycleRefresh(
        models.stats,
        [percent, charging, draw, efficiency, models] {
            const SystemStatsProvider& stats = models.stats;
            percent->setText(wholeText(stats.batteryPercentage(), u"%"));
            charging->setText(batteryStateLabel(stats.batteryState()));
            draw->setText(fixedText(stats.powerDraw(), 2, u" W"));
            efficiency->setText(QStringLiteral("Efficiency: ") +
                                fixedText(stats.efficiencyRatio(), 1, u" ops/W"));
        },
        page);
    return page;
}

QWidget* buildNetworkPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("NetworkPage"));
    auto* layout = pageStack(page, 20);

    auto* down = new NetworkCard(QStringLiteral("Download"), QString(),
                                 QStringLiteral("arrow.down.circle.fill"), systemColor::green());
    auto* up = new NetworkCard(QStringLiteral("Upload"), QString(),
                               QStringLiteral("arrow.up.circle.fill"), systemColor::blue());
    auto* cards = new QHBoxLayout;
    cards->setSpacing(20);
    cards->addWidget(down);
    cards->addWidget(up);
    layout->addLayout(cards);

    auto* connections = new QVBoxLayout;
    connections->setSpacing(10);
    connections->addWidget(makeLabel(QStringLiteral("Active Connections"), textStyle::headline()));
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("connectionRows"));
    auto* rowStack = new QVBoxLayout(rows);
    rowStack->setContentsMargins(0, 0, 0, 0);
    rowStack->setSpacing(10);
    connections->addWidget(rows);
    layout->addLayout(connections);
    layout->addStretch();

    new CycleRefresh(
        models.stats,
        [down, up, rows, rowStack, models, shown = std::optional<QStringList>()]() mutable {
            down->setValue(fixedText(models.stats.networkDownload(), 1, u" KB/s"));
            up->setValue(fixedText(models.stats.networkUpload(), 1, u" KB/s"));
            // The rows are rebuilt only when the list changed.
            const QStringList remote = models.network.activeConnections().mid(0, 3);
            if (shown == remote)
                return;
            shown = remote;
            qDeleteAll(rows->findChildren<RoundedCard*>(Qt::FindDirectChildrenOnly));
            for (const QString& address : remote)
                rowStack->addWidget(connectionRow(address));
            if (remote.isEmpty())
                rowStack->addWidget(noConnectionRow());
        },
        page, {Reading::Connections});
    return page;
}

} // namespace pw::ui
