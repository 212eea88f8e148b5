#include "ui/settings_view.h"

#include "services/launch_at_login.h"
#include "services/system_stats_provider.h"
#include "ui/dashboard_style.h"
#include "ui/file_reveal.h"
#include "ui/label_factory.h"
#include "ui/settings_logic.h"
#include "ui/settings_pages.h"
#include "ui/sidebar_button.h"
#include "ui/switch_button.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace pw::ui {
using namespace dashboardStyle;

namespace {
void paintBackground(QWidget* widget, const QColor& color) {
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    widget->setPalette(p);
}
} // namespace

SettingsView::SettingsView(ThemeManager& themeManager, Preferences& preferences,
                           const StatsModels& models, const QString& initialTab, QWidget* parent)
    : QWidget(parent), m_themeManager(themeManager), m_preferences(preferences), m_models(models),
      m_selected(initialTab) {
    m_fileReveal = new FileReveal(this);
    m_revealFile = [this](const QString& path) { m_fileReveal->reveal(path); };

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildSidebar());
    layout->addWidget(buildDetail(), 1);
    showSelection();
}

QWidget* SettingsView::buildSidebar() {
    auto* sidebar = new QWidget;
    sidebar->setObjectName(QStringLiteral("sidebar"));
    paintBackground(sidebar, sidebarBackground());
    auto* column = new QVBoxLayout(sidebar);
    // Twelve 40-point buttons nearly fill the 600-point height; small gaps keep
    // the quit button inside the window.
    column->setContentsMargins(10, 20, 10, 20);
    column->setSpacing(6);
    for (const SidebarItem& item : sidebarItems()) {
        auto* button = new SidebarButton(item.symbol, item.title);
        connect(button, &QAbstractButton::clicked, this,
                [this, title = item.title] { setSelectedSidebarItem(title); });
        column->addWidget(button, 0, Qt::AlignHCenter);
        m_buttons << button;
    }
    column->addStretch();
    m_quitButton = new SidebarButton(QStringLiteral("power"), QString());
    m_quitButton->setObjectName(QStringLiteral("quitButton"));
    m_quitButton->setFixedColors(systemColor::red(), withOpacity(systemColor::red(), 0.1));
    m_quitButton->setToolTip(QStringLiteral("Quit Pulsewick"));
    m_quitButton->setAccessibleName(QStringLiteral("Quit Pulsewick"));
    // The same way out as the tray menu's "Quit Pulsewick".
    connect(m_quitButton, &QAbstractButton::clicked, this, [] { QCoreApplication::quit(); });
    column->addWidget(m_quitButton, 0, Qt::AlignHCenter);
    return sidebar;
}

QWidget* SettingsView::buildDetail() {
    auto* detail = new QWidget;
    detail->setObjectName(QStringLiteral("detail"));
    paintBackground(detail, detailBackground());
    auto* column = new QVBoxLayout(detail);
    column->setContentsMargins(30, 30, 30, 30);
    column->setSpacing(20);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 10);
    header->setSpacing(12);
    auto* headerSwitch = new SwitchButton;
    headerSwitch->setObjectName(QStringLiteral("headerSwitch"));
    holdAtFixedPosition(headerSwitch, fixedControl::headerSwitch);
    m_header = makeLabel(QString(), largeTitle());
    m_header->setObjectName(QStringLiteral("headerTitle"));
    header->addWidget(headerSwitch);
    header->addWidget(m_header);
    header->addStretch();
    column->addLayout(header);

    m_pages = new QStackedWidget;
    m_emptyPage = new QWidget;
    m_emptyPage->setObjectName(QStringLiteral("EmptyPage"));
    m_pages->addWidget(m_emptyPage);
    column->addWidget(m_pages, 1);
    return detail;
}

void SettingsView::setSelectedSidebarItem(const QString& title) {
    if (title == m_selected)
        return;
    m_selected = title;
    showSelection();
    Q_EMIT selectedSidebarItemChanged(title);
}

QString SettingsView::headerTitle() const {
    return m_header->text();
}

QWidget* SettingsView::currentPage() const {
    return m_pages->currentWidget();
}

QWidget* SettingsView::pageFor(const QString& title) {
    if (QWidget* page = m_builtPages.value(title))
        return page;
    QWidget* page = nullptr;
    if (title == QLatin1String("Settings"))
        page = buildSettingsPage(m_themeManager, m_preferences, LaunchAtLogin::shared());
    else if (title == QLatin1String("Alerts"))
        page = buildAlertsPage(m_preferences);
    else if (title == QLatin1String("History"))
        page = buildHistoryPage([this] { exportReport(); }, m_models.history,
                                [this](const QString& path) {
                                    if (m_revealFile)
                                        m_revealFile(path);
                                });
    else if (title == QLatin1String("Sensors"))
        page = buildSensorsPage(m_models);
    else if (title == QLatin1String("Memory"))
        page = buildMemoryPage(m_models);
    else if (title == QLatin1String("Disk"))
        page = buildDiskPage(m_models);
    else if (title == QLatin1String("Power"))
        page = buildPowerPage(m_models);
    else if (title == QLatin1String("Network"))
        page = buildNetworkPage(m_models);
    else if (title == QLatin1String("Fans"))
        page = buildFansPage(m_models);
    else if (title == QLatin1String("GPU"))
        page = buildGpuPage(m_models);
    if (!page)
        return m_emptyPage; // Cloud, or a title that names no page
    m_pages->addWidget(page);
    m_builtPages.insert(title, page);
    return page;
}

void SettingsView::showSelection() {
    m_header->setText(m_selected);
    for (SidebarButton* button : std::as_const(m_buttons))
        button->setHighlighted(button->title() == m_selected);
    m_pages->setCurrentWidget(pageFor(m_selected));
}

void SettingsView::exportReport() {
    const std::optional<QString> path = m_models.stats.exportHistoryToCSV();
    if (path && m_revealFile)
        m_revealFile(*path);
}

} // namespace pw::ui
