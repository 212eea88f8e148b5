// The pages that change or export something: Settings, Alerts, History.
#include "services/preferences.h"
#include "services/theme_manager.h"
#include "ui/segmented_button.h"
#include "ui/settings_logic.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"
#include "ui/switch_button.h"
#include "ui/symbols.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>

namespace pw::ui {
using namespace dashboardStyle;
using pageParts::pageStack;

namespace {

SwitchButton* fixedSwitch(const QString& text, const char* objectName, bool (*position)()) {
    auto* s = new SwitchButton(text);
    s->setObjectName(QLatin1String(objectName));
    holdAtFixedPosition(s, position);
    return s;
}

QWidget* divider() {
    auto* line = new QWidget;
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, whiteAt(0.2));
    line->setPalette(p);
    line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return line;
}

} // namespace

QWidget* buildSettingsPage(ThemeManager& themeManager, Preferences& preferences) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SettingsPage"));
    auto* layout = pageStack(page, 16);

    layout->addWidget(makeLabel(QStringLiteral("General"), textStyle::headline()));
    layout->addWidget(fixedSwitch(QStringLiteral("Launch at Login"), "launchAtLoginSwitch",
                                  fixedControl::launchAtLogin));

    auto* fullPaths = new SwitchButton(QStringLiteral("Show Full Process Paths"));
    fullPaths->setObjectName(QStringLiteral("showFullProcessPathSwitch"));
    fullPaths->setChecked(preferences.showFullProcessPath());
    QObject::connect(fullPaths, &QAbstractButton::clicked, &preferences,
                     [&preferences](bool on) { preferences.setShowFullProcessPath(on); });
    QObject::connect(&preferences, &Preferences::showFullProcessPathChanged, fullPaths,
                     [fullPaths](bool on) { fullPaths->setChecked(on); });
    layout->addWidget(fullPaths);

    layout->addWidget(divider());
    layout->addWidget(makeLabel(QStringLiteral("Theme"), textStyle::headline()));

    QStringList names;
    const QList<AppTheme> themes = theme::allCases();
    for (AppTheme t : themes)
        names << theme::rawValue(t);
    auto* picker = new SegmentedButton(names);
    picker->setObjectName(QStringLiteral("themePicker"));
    picker->setCurrentIndex(static_cast<int>(themes.indexOf(themeManager.currentTheme())));
    QObject::connect(picker, &SegmentedButton::segmentChosen, &themeManager,
                     [&themeManager, themes](int i) { themeManager.setCurrentTheme(themes[i]); });
    QObject::connect(&themeManager, &ThemeManager::currentThemeChanged, picker,
                     [picker, themes](AppTheme t) {
                         picker->setCurrentIndex(static_cast<int>(themes.indexOf(t)));
                     });
    auto* themeRow = new QHBoxLayout;
    themeRow->addWidget(makeLabel(QStringLiteral("App Theme"), systemFont(13)));
    themeRow->addWidget(picker);
    themeRow->addStretch();
    layout->addLayout(themeRow);

    layout->addStretch();
    return page;
}

QWidget* buildAlertsPage(Preferences& preferences) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("AlertsPage"));
    auto* layout = pageStack(page, 20);

    layout->addWidget(pageParts::pageTitle(QStringLiteral("Alerts & Notifications")));
    layout->addWidget(fixedSwitch(QStringLiteral("High CPU Alerts"), "highCpuAlertsSwitch",
                                  fixedControl::highCpuAlerts));

    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QStringLiteral("alertThresholdSlider"));
    slider->setRange(kThresholdSliderMinimum, kThresholdSliderMaximum);
    slider->setSingleStep(10);
    slider->setPageStep(500);
    auto* valueText = makeLabel(QString(), systemFont(13));
    valueText->setObjectName(QStringLiteral("alertThresholdValue"));
    valueText->setMinimumWidth(QFontMetrics(valueText->font()).horizontalAdvance("100%") + 4);

    // Showing a stored value must not store it back rounded to the slider's steps.
    auto show = [slider, valueText](double threshold) {
        const QSignalBlocker block(slider);
        slider->setValue(sliderPositionFromThreshold(threshold));
        valueText->setText(wholeText(threshold, QStringLiteral("%")));
    };
    show(preferences.cpuAlertThreshold());
    QObject::connect(slider, &QSlider::valueChanged, &preferences, [&preferences](int position) {
        preferences.setCpuAlertThreshold(thresholdFromSliderPosition(position));
    });
    QObject::connect(&preferences, &Preferences::cpuAlertThresholdChanged, slider, show);

    auto* row = new QHBoxLayout;
    row->addWidget(makeLabel(QStringLiteral("Alert Threshold:"), systemFont(13)));
    row->addWidget(slider, 1);
    row->addWidget(valueText);
    layout->addLayout(row);

    layout->addWidget(fixedSwitch(QStringLiteral("New Network Connection Alerts"),
                                  "networkConnectionAlertsSwitch",
                                  fixedControl::networkConnectionAlerts));
    layout->addWidget(fixedSwitch(QStringLiteral("Disk Space Low Alerts"),
                                  "diskSpaceLowAlertsSwitch", fixedControl::diskSpaceLowAlerts));
    layout->addStretch();
    return page;
}

QWidget* buildHistoryPage(std::function<void()> exportReport) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("HistoryPage"));
    auto* layout = pageStack(page, 20);

    layout->addWidget(pageParts::pageTitle(QStringLiteral("System History")));
    layout->addWidget(makeLabel(QStringLiteral("Export your system performance data for analysis."),
                                systemFont(13), systemColor::secondaryLabel()));

    auto* button = new QPushButton(QStringLiteral("Export CSV Report"));
    button->setObjectName(QStringLiteral("exportCsvButton"));
    button->setIcon(QIcon(symbolPixmap(QStringLiteral("square.and.arrow.up"), systemColor::white(),
                                       16, button->devicePixelRatioF())));
    button->setFont(systemFont(13));
    button->setCursor(Qt::PointingHandCursor);
    // Prominent: filled with the accent colour.
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: white; border: none;"
                       " border-radius: 6px; padding: 6px 14px; }"
                       " QPushButton:pressed { background: %2; }")
            .arg(systemColor::blue().name(), systemColor::blue().darker(130).name()));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(button, &QPushButton::clicked, page, [exportReport] {
        if (exportReport)
            exportReport();
    });
    layout->addWidget(button);

    layout->addWidget(makeLabel(QStringLiteral("Historical logs are kept for 24 hours."),
                                textStyle::caption(), systemColor::secondaryLabel()));
    layout->addStretch();
    return page;
}

} // namespace pw::ui
