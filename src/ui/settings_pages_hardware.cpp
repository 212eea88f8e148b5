// The Disk and Fans pages: the root volume's fill and the fan sensors.
#include "services/fans/fan_monitor.h"
#include "services/stats_models.h"
#include "services/storage/storage_monitor.h"
#include "ui/cycle_refresh.h"
#include "ui/format/figure_format.h"
#include "ui/label_factory.h"
#include "ui/level_bar_chart.h"
#include "ui/rounded_card.h"
#include "ui/segmented_button.h"
#include "ui/settings_logic.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"
#include "ui/symbols.h"

#include <QHBoxLayout>

#include <optional>

namespace pw::ui {
using namespace dashboardStyle;
using pageParts::pageStack;

QWidget* buildDiskPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("DiskPage"));
    auto* layout = pageStack(page, 20);
    layout->addWidget(pageParts::pageTitle(QStringLiteral("Storage Health")));

    auto* card = new RoundedCard(whiteAt(0.05), 12);
    auto* stack = new QVBoxLayout(card);
    stack->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    stack->setSpacing(10);
    auto* head = new QHBoxLayout;
    auto* drive = new QLabel;
    drive->setPixmap(symbolPixmap(QStringLiteral("internaldrive"), systemColor::white(), 18,
                                  drive->devicePixelRatioF()));
    head->addWidget(drive);
    auto* name = makeLabel(QString(), textStyle::headline());
    name->setObjectName(QStringLiteral("diskVolumeText"));
    head->addWidget(name);
    head->addStretch();
    auto* kind = makeLabel(QString(), systemFont(13), systemColor::secondaryLabel());
    kind->setObjectName(QStringLiteral("diskKindText"));
    head->addWidget(kind);
    stack->addLayout(head);
    auto* bar = new LevelBarChart;
    bar->setObjectName(QStringLiteral("diskUsageBar"));
    stack->addWidget(bar);
    auto* foot = new QHBoxLayout;
    auto* used = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    used->setObjectName(QStringLiteral("diskUsedText"));
    auto* sizes = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    sizes->setObjectName(QStringLiteral("diskSizesText"));
    foot->addWidget(used);
    foot->addStretch();
    foot->addWidget(sizes);
    stack->addLayout(foot);
    layout->addWidget(card);

    // No SMART source is read, so no health is claimed.
    auto* smart = makeLabel(QStringLiteral("SMART Status: ") + dash(), subheadline(),
                            systemColor::secondaryLabel());
    smart->setObjectName(QStringLiteral("smartStatusText"));
    layout->addWidget(smart);
    layout->addStretch();

    new CycleRefresh(
        models.stats,
        [name, kind, bar, used, sizes, models] {
            const StorageMonitor& storage = models.storage;
            name->setText(orDash(storage.diskVolumeName()));
            kind->setText(orDash(storage.diskKind()));
            const auto fraction = storage.diskUsedFraction();
            bar->setLevel(fraction.value_or(0.0) * 100.0, systemColor::blue());
            used->setText(diskUsedText(fraction));
            sizes->setText(diskSizesText(storage));
        },
        page);
    return page;
}

QWidget* buildFansPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("FansPage"));
    auto* layout = pageStack(page, 20);
    layout->addWidget(pageParts::pageTitle(QStringLiteral("Thermal Management")));

    auto* card = new RoundedCard(whiteAt(0.05), 20);
    auto* stack = new QVBoxLayout(card);
    stack->setContentsMargins(30, 30, 30, 30);
    stack->setSpacing(20);

    auto* speed = new QHBoxLayout;
    auto* fan = new QLabel;
    fan->setPixmap(symbolPixmap(QStringLiteral("fanblades.fill"), systemColor::blue(), 60,
                                fan->devicePixelRatioF()));
    QFont speedFont = textStyle::title2();
    speedFont.setBold(true);
    // One fan (or none) reads beside the symbol; several get a line each below it.
    auto* single = makeLabel(QString(), speedFont);
    single->setObjectName(QStringLiteral("fanSpeedText"));
    speed->addStretch();
    speed->addWidget(fan);
    speed->addWidget(single);
    speed->addStretch();
    stack->addLayout(speed);
    auto* perFan = new QWidget;
    perFan->setObjectName(QStringLiteral("fanSpeedLines"));
    auto* lines = new QVBoxLayout(perFan);
    lines->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(perFan);

    new CycleRefresh(
        models.stats,
        [models, single, perFan, lines, speedFont, shown = std::optional<QStringList>()]() mutable {
            const QStringList text = fanLines(models.fans.fans());
            if (shown == text)
                return;
            shown = text;
            const bool several = models.fans.fans().size() > 1;
            single->setText(several ? QString() : text.value(0));
            single->setVisible(!several);
            qDeleteAll(perFan->findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
            if (several) {
                for (const QString& line : text)
                    lines->addWidget(makeLabel(line, speedFont), 0, Qt::AlignHCenter);
            }
            perFan->setVisible(several);
        },
        card, {Reading::Fans});

    auto* mode = new QHBoxLayout;
    auto* picker = new SegmentedButton(fixedControl::fanModes());
    picker->setObjectName(QStringLiteral("fanModePicker"));
    holdAtFixedPosition(picker, fixedControl::fanMode);
    picker->setEnabled(false);
    picker->setToolTip(QStringLiteral("Fan control is left to the firmware"));
    mode->addStretch();
    mode->addWidget(makeLabel(QStringLiteral("Mode:"), systemFont(13)));
    mode->addWidget(picker);
    mode->addStretch();
    stack->addLayout(mode);

    layout->addWidget(card);
    layout->addStretch();
    return page;
}

} // namespace pw::ui
