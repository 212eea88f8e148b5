// The Sensors page: live CPU, temperature and power figures beside the
// display options.
#include "services/gpu/gpu_monitor.h"
#include "services/stats_models.h"
#include "services/system_stats_provider.h"
#include "ui/color_row.h"
#include "ui/cycle_refresh.h"
#include "ui/format/figure_format.h"
#include "ui/rounded_card.h"
#include "ui/sensor_circle.h"
#include "ui/sensor_row.h"
#include "ui/settings_logic.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"
#include "ui/switch_button.h"
#include "ui/symbols.h"

#include <QHBoxLayout>

#include <array>

namespace pw::ui {
using namespace dashboardStyle;

namespace {

using FigureText = QString (*)(const StatsModels&);

struct Circle {
    const char* title;
    FigureText value;
};

// The badges across the card, left to right.
constexpr std::array kCircles = {
    Circle{"CPU", [](const StatsModels& m) { return wholeText(m.stats.cpuUsage(), u"%"); }},
    Circle{"TEMP",
           [](const StatsModels& m) { return wholeText(m.stats.socTemperature(), kDegreeSign); }},
    Circle{"ANE", [](const StatsModels& m) { return wholeText(m.stats.aneUsage(), u"%"); }},
};

struct Row {
    const char* title;
    const char* subtitle;
    FigureText value;
};

// The lines under the badges, top to bottom.
constexpr std::array kRows = {
    Row{"TEMPERATURE", "Average SoC",
        [](const StatsModels& m) { return wholeText(m.stats.socTemperature(), u"\u00B0C"); }},
    Row{"EFFICIENCY", "P/W Ratio",
        [](const StatsModels& m) { return fixedText(m.stats.efficiencyRatio(), 2); }},
    Row{"POWER DRAW", "Total SoC",
        [](const StatsModels& m) { return fixedText(m.stats.powerDraw(), 2, u" W"); }},
    Row{"CLUSTERS", "P-Core Avg",
        [](const StatsModels& m) { return wholeText(m.stats.pClusterUsage(), u"%"); }},
    Row{"CLUSTERS", "E-Core Avg",
        [](const StatsModels& m) { return wholeText(m.stats.eClusterUsage(), u"%"); }},
    Row{"GPU POWER", "Graphics Card",
        [](const StatsModels& m) { return fixedText(m.gpu.gpuPowerWatts(), 2, u" W"); }},
};

QLabel* symbolLabel(const QString& symbol, int size) {
    auto* label = new QLabel;
    label->setPixmap(symbolPixmap(symbol, systemColor::white(), size, label->devicePixelRatioF()));
    return label;
}

QWidget* sensorCard(const StatsModels& models) {
    auto* card = new RoundedCard(sensorCardBackground(), 16);
    card->setObjectName(QStringLiteral("sensorCard"));
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    layout->setSpacing(16);

    auto* bar = new RoundedCard(whiteAt(0.1), 10);
    auto* top = new QHBoxLayout(bar);
    top->setContentsMargins(kCardPadding, 8, kCardPadding, 8);
    top->addWidget(symbolLabel(QStringLiteral("cpu"), 18));
    top->addStretch();
    auto* soc = makeLabel(QString(), textStyle::caption());
    soc->setObjectName(QStringLiteral("socBadge"));
    soc->setAlignment(Qt::AlignCenter);
    top->addWidget(soc);
    top->addWidget(symbolLabel(QStringLiteral("thermometer.medium"), 18));
    layout->addWidget(bar);

    auto* circleRow = new QHBoxLayout;
    circleRow->setSpacing(15);
    circleRow->addStretch();
    QList<SensorCircle*> circles;
    for (const Circle& circle : kCircles) {
        circles << new SensorCircle(QString::fromLatin1(circle.title));
        circleRow->addWidget(circles.last());
    }
    circleRow->addStretch();
    layout->addLayout(circleRow);

    auto* rowStack = new QVBoxLayout;
    rowStack->setSpacing(10);
    QList<SensorRow*> rows;
    for (const Row& row : kRows) {
        rows << new SensorRow(QString::fromLatin1(row.title), QString::fromLatin1(row.subtitle));
        rowStack->addWidget(rows.last());
    }
    layout->addLayout(rowStack);

    new CycleRefresh(models.stats,
                     [models, soc, circles, rows] {
                         soc->setText(socBadgeText(models.stats.socTemperature()));
                         for (std::size_t i = 0; i < kCircles.size(); ++i)
                             circles[static_cast<qsizetype>(i)]->setValue(
                                 kCircles[i].value(models));
                         for (std::size_t i = 0; i < kRows.size(); ++i)
                             rows[static_cast<qsizetype>(i)]->setValue(kRows[i].value(models));
                     },
                     card, {Reading::Gpu});
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

QWidget* buildSensorsPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SensorsPage"));
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(sensorCard(models), 1, Qt::AlignVCenter);
    layout->addWidget(displayColumn());
    return page;
}

} // namespace pw::ui
