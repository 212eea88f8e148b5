// The Disk and Fans pages: the root volume's fill and the fan sensors.
#include "services/system_stats_provider.h"
#include "services/terminal_text.h"
#include "ui/level_bar_chart.h"
#include "ui/rounded_card.h"
#include "ui/segmented_button.h"
#include "ui/settings_logic.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"
#include "ui/symbols.h"

#include <QHBoxLayout>

namespace pw::ui {
using namespace dashboardStyle;
using pageParts::followLive;
using pageParts::pageStack;

QWidget* buildDiskPage(SystemStatsProvider& stats) {
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

    followLive(&stats, &SystemStatsProvider::diskVolumeNameChanged, name, [name, &stats] {
        const QString text = stats.diskVolumeName();
        name->setText(text.isEmpty() ? dashText() : terminalSafe(text));
    });
    followLive(&stats, &SystemStatsProvider::diskKindChanged, kind, [kind, &stats] {
        const QString text = stats.diskKind();
        kind->setText(text.isEmpty() ? dashText() : text);
    });
    auto showFill = [bar, used, sizes, &stats] {
        const double fraction = stats.diskUsedFraction();
        bar->setLevel(fraction >= 0.0 ? fraction * 100.0 : 0.0, systemColor::blue());
        used->setText(diskUsedText(fraction));
        sizes->setText(diskSizesText(stats.diskTotal(), stats.diskAvailable(), fraction));
    };
    followLive(&stats, &SystemStatsProvider::diskUsedFractionChanged, card, showFill);
    QObject::connect(&stats, &SystemStatsProvider::diskTotalChanged, card, showFill);
    QObject::connect(&stats, &SystemStatsProvider::diskAvailableChanged, card, showFill);

    // No SMART source is read, so no health is claimed.
    auto* smart = makeLabel(QStringLiteral("SMART Status: ") + dashText(), subheadline(),
                            systemColor::secondaryLabel());
    smart->setObjectName(QStringLiteral("smartStatusText"));
    layout->addWidget(smart);
    layout->addStretch();
    return page;
}

QWidget* buildFansPage(SystemStatsProvider& stats) {
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

    followLive(&stats, &SystemStatsProvider::fansChanged, card,
               [&stats, single, perFan, lines, speedFont] {
                   const QStringList text = fanLines(stats.fans());
                   const bool several = stats.fans().size() > 1;
                   single->setText(several ? QString() : text.value(0));
                   single->setVisible(!several);
                   qDeleteAll(perFan->findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
                   if (several) {
                       for (const QString& line : text)
                           lines->addWidget(makeLabel(line, speedFont), 0, Qt::AlignHCenter);
                   }
                   perFan->setVisible(several);
               });

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
