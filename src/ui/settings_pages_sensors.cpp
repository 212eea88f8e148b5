// The Sensors page: live CPU, temperature and power figures beside the
// display options.
#include "services/system_stats_provider.h"
#include "ui/color_row.h"
#include "ui/rounded_card.h"
#include "ui/sensor_circle.h"
#include "ui/sensor_row.h"
#include "ui/settings_logic.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"
#include "ui/switch_button.h"
#include "ui/symbols.h"

#include <QHBoxLayout>

namespace pw::ui {
using namespace dashboardStyle;
using pageParts::followLive;

namespace {

QLabel* symbolLabel(const QString& symbol, int size) {
    auto* label = new QLabel;
    label->setPixmap(symbolPixmap(symbol, systemColor::white(), size, label->devicePixelRatioF()));
    return label;
}

QWidget* topBar(SystemStatsProvider& stats) {
    auto* bar = new RoundedCard(whiteAt(0.1), 10);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(kCardPadding, 8, kCardPadding, 8);
    row->addWidget(symbolLabel(QStringLiteral("cpu"), 18));
    row->addStretch();
    auto* soc = makeLabel(QString(), textStyle::caption());
    soc->setObjectName(QStringLiteral("socBadge"));
    soc->setAlignment(Qt::AlignCenter);
    followLive(&stats, &SystemStatsProvider::socTemperatureChanged, soc,
               [soc, &stats] { soc->setText(socBadgeText(stats.socTemperature())); });
    row->addWidget(soc);
    row->addWidget(symbolLabel(QStringLiteral("thermometer.medium"), 18));
    return bar;
}

QWidget* sensorCard(SystemStatsProvider& stats) {
    auto* card = new RoundedCard(sensorCardBackground(), 16);
    card->setObjectName(QStringLiteral("sensorCard"));
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    layout->setSpacing(16);
    layout->addWidget(topBar(stats));

    const QString percent = QStringLiteral("%");
    const QString degree = QStringLiteral("°");
    auto* cpu = new SensorCircle(QStringLiteral("CPU"));
    auto* temp = new SensorCircle(QStringLiteral("TEMP"));
    auto* ane = new SensorCircle(QStringLiteral("ANE"));
    followLive(&stats, &SystemStatsProvider::cpuUsageChanged, cpu,
               [cpu, &stats, percent] { cpu->setValue(wholeText(stats.cpuUsage(), percent)); });
    followLive(&stats, &SystemStatsProvider::socTemperatureChanged, temp, [temp, &stats, degree] {
        temp->setValue(wholeText(stats.socTemperature(), degree));
    });
    followLive(&stats, &SystemStatsProvider::aneUsageChanged, ane, [ane, &stats, percent] {
        const double usage = stats.aneUsage(); // negative: no neural engine
        ane->setValue(usage >= 0.0 ? wholeText(usage, percent) : dashText());
    });
    auto* circles = new QHBoxLayout;
    circles->setSpacing(15);
    circles->addStretch();
    circles->addWidget(cpu);
    circles->addWidget(temp);
    circles->addWidget(ane);
    circles->addStretch();
    layout->addLayout(circles);

    auto* temperature = new SensorRow(QStringLiteral("TEMPERATURE"), QStringLiteral("Average SoC"));
    auto* efficiency = new SensorRow(QStringLiteral("EFFICIENCY"), QStringLiteral("P/W Ratio"));
    auto* power = new SensorRow(QStringLiteral("POWER DRAW"), QStringLiteral("Total SoC"));
    auto* pCores = new SensorRow(QStringLiteral("CLUSTERS"), QStringLiteral("P-Core Avg"));
    auto* eCores = new SensorRow(QStringLiteral("CLUSTERS"), QStringLiteral("E-Core Avg"));
    followLive(&stats, &SystemStatsProvider::socTemperatureChanged, temperature,
               [temperature, &stats] {
                   temperature->setValue(wholeText(stats.socTemperature(), QStringLiteral("°C")));
               });
    followLive(
        &stats, &SystemStatsProvider::efficiencyRatioChanged, efficiency,
        [efficiency, &stats] { efficiency->setValue(fixedText(stats.efficiencyRatio(), 2)); });
    followLive(&stats, &SystemStatsProvider::powerDrawChanged, power, [power, &stats] {
        power->setValue(fixedText(stats.powerDraw(), 2, QStringLiteral(" W")));
    });
    followLive(
        &stats, &SystemStatsProvider::pClusterUsageChanged, pCores,
        [pCores, &stats, percent] { pCores->setValue(wholeText(stats.pClusterUsage(), percent)); });
    followLive(
        &stats, &SystemStatsProvider::eClusterUsageChanged, eCores,
        [eCores, &stats, percent] { eCores->setValue(wholeText(stats.eClusterUsage(), percent)); });
    auto* rows = new QVBoxLayout;
    rows->setSpacing(10);
    for (SensorRow* row : {temperature, efficiency, power, pCores, eCores})
        rows->addWidget(row);
    layout->addLayout(rows);
    return card;
}

QWidget* chip(const QString& text) {
    auto* chip = new RoundedCard(systemColor::blue(), 4);
    auto* layout = new QHBoxLayout(chip);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(makeLabel(text, systemFont(12)));
    chip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return chip;
}

QWidget* displayColumn() {
    auto* column = new QWidget;
    column->setFixedWidth(250);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addStretch();
    layout->addWidget(makeLabel(QStringLiteral("Menu Customization"), textStyle::headline()));
    layout->addWidget(new ColorRow(QStringLiteral("Accent Color"), systemColor::blue()));
    layout->addWidget(makeLabel(QStringLiteral("Display Settings"), textStyle::headline()));

    auto* interval = new RoundedCard(whiteAt(0.05), 6);
    auto* intervalRow = new QHBoxLayout(interval);
    intervalRow->setContentsMargins(8, 8, 8, 8);
    intervalRow->addWidget(makeLabel(QStringLiteral("Update Interval:"), systemFont(13)));
    intervalRow->addStretch();
    intervalRow->addWidget(
        makeLabel(QStringLiteral("1 second"), systemFont(13), systemColor::secondaryLabel()));
    layout->addWidget(interval);

    auto* precision = new SwitchButton(QStringLiteral("High Precision Mode"));
    precision->setObjectName(QStringLiteral("highPrecisionModeSwitch"));
    // The engine samples once a second, always.
    showAsUnavailable(precision, QStringLiteral("Not available yet"));
    layout->addWidget(precision);

    layout->addWidget(makeLabel(QStringLiteral("Items in Menu Bar"), textStyle::headline()));
    auto* box = new RoundedCard(withOpacity(systemColor::black(), 0.3), 10);
    box->setFixedHeight(100);
    auto* chips = new QHBoxLayout(box);
    chips->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    chips->addWidget(chip(QStringLiteral("CPU")));
    chips->addWidget(chip(QStringLiteral("TEMP")));
    chips->addStretch();
    layout->addWidget(box);
    layout->addStretch();
    return column;
}

} // namespace

QWidget* buildSensorsPage(SystemStatsProvider& stats) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SensorsPage"));
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(sensorCard(stats), 1, Qt::AlignVCenter);
    layout->addWidget(displayColumn());
    return page;
}

} // namespace pw::ui
