// The pages that change or export something: Settings, Alerts, History.
#include "services/history/history_service.h"
#include "services/launch_at_login.h"
#include "services/preferences.h"
#include "services/theme_manager.h"
#include "ui/format/figure_format.h"
#include "ui/history_chart_card.h"
#include "ui/label_factory.h"
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

const QString kNotAvailable = QStringLiteral("Not available yet");

// A switch kept in step with one preference both ways.
SwitchButton* preferenceSwitch(const QString& text, const char* objectName,
                               Preferences& preferences, bool (Preferences::*read)() const,
                               void (Preferences::*write)(bool),
                               void (Preferences::*changed)(bool)) {
    auto* s = new SwitchButton(text);
    s->setObjectName(QLatin1String(objectName));
    s->setChecked((preferences.*read)());
    QObject::connect(s, &QAbstractButton::clicked, &preferences,
                     [&preferences, write](bool on) { (preferences.*write)(on); });
    QObject::connect(&preferences, changed, s, [s](bool on) { s->setChecked(on); });
    return s;
}

SwitchButton* unavailableSwitch(const QString& text, const char* objectName) {
    auto* s = new SwitchButton(text);
    s->setObjectName(QLatin1String(objectName));
    showAsUnavailable(s, kNotAvailable);
    return s;
}

// The switch shows the autostart entry on disk; a change that cannot be made
// puts it back and says why, until the next change succeeds.
QWidget* launchAtLoginControl(LaunchAtLogin& launchAtLogin) {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* toggle = new SwitchButton(QStringLiteral("Launch at Login"));
    toggle->setObjectName(QStringLiteral("launchAtLoginSwitch"));
    toggle->setChecked(launchAtLogin.enabled());
    auto* reason = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    reason->setObjectName(QStringLiteral("launchAtLoginError"));
    reason->hide();
    column->addWidget(toggle);
    column->addWidget(reason);

    QObject::connect(toggle, &QAbstractButton::clicked, box,
                     [&launchAtLogin, toggle, reason](bool on) {
                         const bool done = launchAtLogin.setEnabled(on);
                         const QString error = done ? QString() : launchAtLogin.lastError();
                         toggle->setChecked(launchAtLogin.enabled());
                         toggle->setToolTip(error);
                         reason->setText(error);
                         reason->setVisible(!error.isEmpty());
                     });
    QObject::connect(&launchAtLogin, &LaunchAtLogin::enabledChanged, toggle,
                     [toggle](bool on) { toggle->setChecked(on); });
    return box;
}

QPushButton* historyButton(const QString& text, const char* objectName, const QColor& fill) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(objectName));
    button->setFont(systemFont(13));
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: white; border: none;"
                       " border-radius: 6px; padding: 6px 14px; }"
                       " QPushButton:pressed { background: %2; }"
                       " QPushButton:disabled { color: rgba(255, 255, 255, 90); }")
            .arg(fill.name(QColor::HexArgb), fill.darker(130).name(QColor::HexArgb)));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
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

QWidget* buildSettingsPage(ThemeManager& themeManager, Preferences& preferences,
                           LaunchAtLogin& launchAtLogin) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SettingsPage"));
    auto* layout = pageStack(page, 16);

    layout->addWidget(makeLabel(QStringLiteral("General"), textStyle::headline()));
    layout->addWidget(launchAtLoginControl(launchAtLogin));
    layout->addWidget(preferenceSwitch(
        QStringLiteral("Show Full Process Paths"), "showFullProcessPathSwitch", preferences,
        &Preferences::showFullProcessPath, &Preferences::setShowFullProcessPath,
        &Preferences::showFullProcessPathChanged));

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
    layout->addWidget(preferenceSwitch(QStringLiteral("High CPU Alerts"), "highCpuAlertsSwitch",
                                       preferences, &Preferences::highCpuAlertsEnabled,
                                       &Preferences::setHighCpuAlertsEnabled,
                                       &Preferences::highCpuAlertsEnabledChanged));

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
        valueText->setText(wholeText(threshold, u"%"));
    };
    show(preferences.cpuAlertThreshold());
    // The text follows a drag; the settings file is written once, on release
    // (keys and the wheel move the value without a drag and store at once).
    auto store = [&preferences, slider] {
        preferences.setCpuAlertThreshold(thresholdFromSliderPosition(slider->value()));
    };
    QObject::connect(slider, &QSlider::valueChanged, &preferences,
                     [slider, valueText, store](int position) {
                         valueText->setText(wholeText(thresholdFromSliderPosition(position), u"%"));
                         if (!slider->isSliderDown())
                             store();
                     });
    QObject::connect(slider, &QSlider::sliderReleased, &preferences, store);
    QObject::connect(&preferences, &Preferences::cpuAlertThresholdChanged, slider, show);

    auto* row = new QHBoxLayout;
    row->addWidget(makeLabel(QStringLiteral("Alert Threshold:"), systemFont(13)));
    row->addWidget(slider, 1);
    row->addWidget(valueText);
    layout->addLayout(row);

    layout->addWidget(unavailableSwitch(QStringLiteral("New Network Connection Alerts"),
                                        "networkConnectionAlertsSwitch"));
    layout->addWidget(preferenceSwitch(
        QStringLiteral("Disk Space Low Alerts"), "diskSpaceLowAlertsSwitch", preferences,
        &Preferences::diskSpaceLowAlertsEnabled, &Preferences::setDiskSpaceLowAlertsEnabled,
        &Preferences::diskSpaceLowAlertsEnabledChanged));
    layout->addStretch();
    return page;
}

QWidget* buildHistoryPage(std::function<void()> exportReport, HistoryService* history,
                          std::function<void(const QString&)> revealFile) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("HistoryPage"));
    auto* layout = pageStack(page, 20);

    layout->addWidget(pageParts::pageTitle(QStringLiteral("System History")));
    layout->addWidget(makeLabel(QStringLiteral("Export your system performance data for analysis."),
                                systemFont(13), systemColor::secondaryLabel()));

    // Prominent: filled with the accent colour.
    auto* button =
        historyButton(QStringLiteral("Export CSV Report"), "exportCsvButton", systemColor::blue());
    button->setIcon(QIcon(symbolPixmap(QStringLiteral("square.and.arrow.up"), systemColor::white(),
                                       16, button->devicePixelRatioF())));
    QObject::connect(button, &QPushButton::clicked, page, [exportReport] {
        if (exportReport)
            exportReport();
    });
    auto* card = new HistoryChartCard(history);
    auto* rangeButton = historyButton(QString(), "exportRangeCsvButton", whiteAt(0.12));
    rangeButton->setToolTip(QStringLiteral("Every stored figure of the chosen range, one row per "
                                           "second up to a day, one per minute beyond"));
    rangeButton->setEnabled(history != nullptr);
    const auto nameButton = [rangeButton](HistoryRange range) {
        rangeButton->setText(QStringLiteral("Export %1 CSV").arg(historyRangeName(range)));
    };
    nameButton(card->range());
    QObject::connect(card, &HistoryChartCard::rangeChanged, rangeButton, nameButton);
    QObject::connect(rangeButton, &QPushButton::clicked, card,
                     [history, card, rangeButton, revealFile] {
                         rangeButton->setEnabled(false); // one file at a time
                         history->exportRange(card->range(), rangeButton,
                                              [rangeButton, revealFile](const auto& path) {
                                                  rangeButton->setEnabled(true);
                                                  if (path && revealFile)
                                                      revealFile(*path);
                                              });
                     });
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addWidget(button);
    buttons->addWidget(rangeButton);
    buttons->addStretch();
    layout->addLayout(buttons);

    layout->addWidget(makeLabel(QStringLiteral("Historical logs are kept for 24 hours."),
                                textStyle::caption(), systemColor::secondaryLabel()));
    layout->addWidget(card, 1);
    return page;
}

} // namespace pw::ui
