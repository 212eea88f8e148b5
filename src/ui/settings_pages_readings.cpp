// The live Memory, Power and Network pages.
#include "services/system_stats_provider.h"
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

namespace pw::ui {
using namespace dashboardStyle;
using pageParts::followLive;
using pageParts::pageStack;

namespace {

QVBoxLayout* cardStack(RoundedCard* card, int spacing) {
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    layout->setSpacing(spacing);
    return layout;
}

QWidget* pressureCard(SystemStatsProvider& stats) {
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

    followLive(&stats, &SystemStatsProvider::memoryPressureChanged, card, [bar, pressure, &stats] {
        const double value = stats.memoryPressure();
        bar->setLevel(value, memoryPressureColor(value));
        pressure->setText(wholeText(value, QStringLiteral("%")));
    });
    auto showUsage = [usage, &stats] {
        usage->setText(memoryUsageText(stats.memoryUsed(), stats.memoryTotal()));
    };
    followLive(&stats, &SystemStatsProvider::memoryUsedChanged, card, showUsage);
    QObject::connect(&stats, &SystemStatsProvider::memoryTotalChanged, card, showUsage);
    return card;
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

QWidget* buildMemoryPage(SystemStatsProvider& stats) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("MemoryPage"));
    auto* layout = pageStack(page, 20);

    const QString gb = QStringLiteral(" GB");
    auto* app = new MemoryCard(QStringLiteral("App Memory"), QString(), systemColor::blue());
    auto* wired = new MemoryCard(QStringLiteral("Wired"), QString(), systemColor::orange());
    auto* compressed =
        new MemoryCard(QStringLiteral("Compressed"), QString(), systemColor::purple());
    followLive(&stats, &SystemStatsProvider::memoryAppChanged, app,
               [app, &stats, gb] { app->setValue(fixedText(stats.memoryApp(), 2, gb)); });
    followLive(&stats, &SystemStatsProvider::memoryWiredChanged, wired,
               [wired, &stats, gb] { wired->setValue(fixedText(stats.memoryWired(), 2, gb)); });
    followLive(&stats, &SystemStatsProvider::memoryCompressedChanged, compressed,
               [compressed, &stats, gb] {
                   compressed->setValue(fixedText(stats.memoryCompressed(), 2, gb));
               });
    auto* cards = new QHBoxLayout;
    cards->setSpacing(20);
    cards->addWidget(app);
    cards->addWidget(wired);
    cards->addWidget(compressed);
    layout->addLayout(cards);

    layout->addWidget(pressureCard(stats));

    auto* swap = new SensorRow(QStringLiteral("SWAP"), QStringLiteral("Swap Used"));
    followLive(&stats, &SystemStatsProvider::memorySwapChanged, swap,
               [swap, &stats, gb] { swap->setValue(fixedText(stats.memorySwap(), 2, gb)); });
    layout->addWidget(swap);
    layout->addStretch();
    return page;
}

QWidget* buildPowerPage(SystemStatsProvider& stats) {
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
    followLive(&stats, &SystemStatsProvider::batteryPercentageChanged, percent, [percent, &stats] {
        percent->setText(QString::number(stats.batteryPercentage()) + QStringLiteral("%"));
    });
    followLive(&stats, &SystemStatsProvider::batteryIsChargingChanged, charging,
               [charging, &stats] { charging->setText(chargingText(stats.batteryIsCharging())); });

    auto* power = new RoundedCard(whiteAt(0.05), 12);
    power->setFixedWidth(150);
    auto* powerStack = cardStack(power, 4);
    powerStack->addWidget(makeLabel(QStringLiteral("Power Draw"), textStyle::caption(),
                                    systemColor::secondaryLabel()));
    auto* draw = makeLabel(QString(), largeTitle());
    draw->setObjectName(QStringLiteral("powerDrawText"));
    powerStack->addWidget(draw);
    powerStack->addStretch();
    followLive(&stats, &SystemStatsProvider::powerDrawChanged, draw, [draw, &stats] {
        draw->setText(fixedText(stats.powerDraw(), 2, QStringLiteral(" W")));
    });

    auto* cards = new QHBoxLayout;
    cards->setSpacing(20);
    cards->addWidget(battery, 0, Qt::AlignTop);
    cards->addWidget(power, 0, Qt::AlignTop);
    cards->addStretch();
    layout->addLayout(cards);

    auto* efficiency = makeLabel(QString(), subheadline());
    efficiency->setObjectName(QStringLiteral("efficiencyText"));
    followLive(
        &stats, &SystemStatsProvider::efficiencyRatioChanged, efficiency, [efficiency, &stats] {
            efficiency->setText(QStringLiteral("Efficiency: ") +
                                fixedText(stats.efficiencyRatio(), 1, QStringLiteral(" ops/W")));
        });
    layout->addWidget(efficiency);
    layout->addStretch();
    return page;
}

QWidget* buildNetworkPage(SystemStatsProvider& stats) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("NetworkPage"));
    auto* layout = pageStack(page, 20);

    const QString rate = QStringLiteral(" KB/s");
    auto* down = new NetworkCard(QStringLiteral("Download"), QString(),
                                 QStringLiteral("arrow.down.circle.fill"), systemColor::green());
    auto* up = new NetworkCard(QStringLiteral("Upload"), QString(),
                               QStringLiteral("arrow.up.circle.fill"), systemColor::blue());
    followLive(&stats, &SystemStatsProvider::networkDownloadChanged, down, [down, &stats, rate] {
        down->setValue(fixedText(stats.networkDownload(), 1, rate));
    });
    followLive(&stats, &SystemStatsProvider::networkUploadChanged, up,
               [up, &stats, rate] { up->setValue(fixedText(stats.networkUpload(), 1, rate)); });
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
    followLive(&stats, &SystemStatsProvider::activeConnectionsChanged, rows,
               [rows, rowStack, &stats] {
                   qDeleteAll(rows->findChildren<RoundedCard*>(Qt::FindDirectChildrenOnly));
                   const QStringList remote = stats.activeConnections();
                   for (const QString& address : remote.mid(0, 3))
                       rowStack->addWidget(connectionRow(address));
                   if (remote.isEmpty())
                       rowStack->addWidget(noConnectionRow());
               });
    layout->addLayout(connections);
    layout->addStretch();
    return page;
}

} // namespace pw::ui
