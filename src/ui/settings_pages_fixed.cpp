// The Disk and Fans pages, which show fixed figures only.
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
using pageParts::pageStack;

QWidget* buildDiskPage() {
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
    head->addWidget(makeLabel(QStringLiteral("Macintosh HD"), textStyle::headline()));
    head->addStretch();
    head->addWidget(
        makeLabel(QStringLiteral("SSD"), systemFont(13), systemColor::secondaryLabel()));
    stack->addLayout(head);
    auto* bar = new LevelBarChart;
    bar->setLevel(45.0, systemColor::blue());
    stack->addWidget(bar);
    auto* foot = new QHBoxLayout;
    foot->addWidget(
        makeLabel(QStringLiteral("45% Used"), textStyle::caption(), systemColor::secondaryLabel()));
    foot->addStretch();
    foot->addWidget(makeLabel(QStringLiteral("445 GB / 994 GB"), textStyle::caption(),
                              systemColor::secondaryLabel()));
    stack->addLayout(foot);
    layout->addWidget(card);

    layout->addWidget(
        makeLabel(QStringLiteral("SMART Status: Healthy"), subheadline(), systemColor::green()));
    layout->addStretch();
    return page;
}

QWidget* buildFansPage() {
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
    speed->addStretch();
    speed->addWidget(fan);
    speed->addWidget(makeLabel(QStringLiteral("Fan Speed: 2,240 RPM"), speedFont));
    speed->addStretch();
    stack->addLayout(speed);

    auto* mode = new QHBoxLayout;
    auto* picker = new SegmentedButton(fixedControl::fanModes());
    picker->setObjectName(QStringLiteral("fanModePicker"));
    holdAtFixedPosition(picker, fixedControl::fanMode);
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
