#include "ui/popover_view.h"

#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/system_colors.h"
#include "services/theme_manager.h"
#include "ui/bottom_app_tray.h"
#include "ui/cpu_tab_view.h"
#include "ui/dashboard_requests.h"
#include "ui/disk_tab_view.h"
#include "ui/label_factory.h"
#include "ui/logo.h"
#include "ui/memory_tab_view.h"
#include "ui/network_tab_view.h"
#include "ui/popover_palette.h"
#include "ui/symbols.h"
#include "ui/text_styles.h"
#include "ui/view_logic.h"
#include "ui/visual_effect_view.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace pw::ui {
namespace {

constexpr int kHeaderSymbolSize = 18;
constexpr int kContentFadeMs = 200;

QToolButton* makeHeaderButton(bool plain, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(plain);
    button->setIconSize(QSize(kHeaderSymbolSize, kHeaderSymbolSize));
    button->setCursor(Qt::PointingHandCursor);
    if (plain)
        button->setStyleSheet(
            QStringLiteral("QToolButton { border: none; background: transparent; }"));
    return button;
}

QIcon symbolIcon(const QString& symbol, const QColor& color, const QWidget* widget) {
    return QIcon(symbolPixmap(symbol, color, kHeaderSymbolSize, widget->devicePixelRatioF()));
}

QPixmap roundedLogo(const QPixmap& logo) {
    QPixmap clipped(logo.size());
    clipped.fill(Qt::transparent);
    clipped.setDevicePixelRatio(logo.devicePixelRatio());
    QPainter painter(&clipped);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, 24, 24), 6, 6);
    painter.setClipPath(shape);
    painter.drawPixmap(0, 0, logo);
    return clipped;
}

} // namespace

PopoverView::PopoverView(const StatsModels& models, ProcessMonitor& processMonitor,
                         PingService& pingService, ThemeManager& themeManager,
                         Preferences& preferences, QWidget* parent)
    : QWidget(parent), m_models(models), m_processMonitor(processMonitor),
      m_pingService(pingService), m_themeManager(themeManager), m_preferences(preferences),
      m_backdrop(new VisualEffectView(theme::backgroundMaterial(themeManager.currentTheme()),
                                      BlendingMode::behindWindow, this)) {
    setFixedSize(320, 620);
    setPalette(darkPopoverPalette(theme::accentColor(themeManager.currentTheme())));
    m_backdrop->setGeometry(rect());
    m_backdrop->lower();

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(buildHeader());

    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setAutoFillBackground(false);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    root->addWidget(m_scrollArea, 1);
    root->addSpacing(10);

    auto* trayRow = new QHBoxLayout;
    trayRow->setContentsMargins(8, 0, 8, 0);
    m_tray = new BottomAppTray(m_processMonitor, this);
    trayRow->addWidget(m_tray);
    root->addLayout(trayRow);

    connect(m_tray, &BottomAppTray::tabChosen, this, &PopoverView::setSelectedTab);
    connect(&m_themeManager, &ThemeManager::currentThemeChanged, this, &PopoverView::applyTheme);
    connect(&m_preferences, &Preferences::showFullProcessPathChanged, this,
            &PopoverView::applyListSymbol);

    m_tray->setSelectedTab(m_selectedTab);
    m_currentView = makeTabView(m_selectedTab);
    if (m_currentView) {
        m_scrollArea->setWidget(m_currentView);
        m_currentView->setAutoFillBackground(false); // the backdrop shows through
    }
    applyTheme();
    applyListSymbol();
}

QWidget* PopoverView::buildHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(16, 16, 16, 8);

    auto* logo = new QLabel(header);
    logo->setFixedSize(24, 24);
    logo->setAlignment(Qt::AlignCenter);
    if (auto image = findLogo(24, devicePixelRatioF())) {
        logo->setPixmap(roundedLogo(*image));
        m_showsLogoImage = true;
    } else {
        const int size = QFontMetrics(textStyle::title2()).height();
        logo->setFixedSize(size, size);
        logo->setPixmap(symbolPixmap(QStringLiteral("shield.fill"), systemColor::blue(), size,
                                     devicePixelRatioF()));
    }
    row->addWidget(logo, 0, Qt::AlignVCenter);
    QFont title = textStyle::headline();
    title.setBold(true);
    row->addWidget(makeLabel(QStringLiteral("Pulsewick"), title, QColor(), header), 0,
                   Qt::AlignVCenter);
    row->addStretch(1);

    m_listButton = makeHeaderButton(false, header);
    m_gearButton = makeHeaderButton(true, header);
    m_gearButton->setToolTip(QStringLiteral("Settings"));
    m_gearButton->setIcon(
        symbolIcon(QStringLiteral("gearshape.fill"), systemColor::secondaryLabel(), this));
    m_themeButton = makeHeaderButton(true, header);
    row->addWidget(m_listButton, 0, Qt::AlignVCenter);
    row->addWidget(m_gearButton, 0, Qt::AlignVCenter);
    row->addWidget(m_themeButton, 0, Qt::AlignVCenter);

    connect(m_listButton, &QToolButton::clicked, this,
            [this] { m_preferences.setShowFullProcessPath(!m_preferences.showFullProcessPath()); });
    connect(m_gearButton, &QToolButton::clicked, this,
            [] { DashboardRequests::instance().post(QStringLiteral("Settings")); });
    connect(m_themeButton, &QToolButton::clicked, this,
            [this] { m_themeManager.stepToNextTheme(); });
    return header;
}

QWidget* PopoverView::makeTabView(int index) {
    switch (tabContentFor(index)) {
    case TabContent::cpu:
        return new CPUTabView(m_models, m_processMonitor, m_preferences);
    case TabContent::network:
        return new NetworkTabView(m_models, m_processMonitor, m_preferences);
    case TabContent::disk:
        return new DiskTabView(m_models, m_processMonitor, m_preferences);
    case TabContent::memory:
        return new MemoryTabView(m_models, m_processMonitor, m_preferences);
    case TabContent::none:
        break;
    }
    return nullptr;
}

void PopoverView::setSelectedTab(int index) {
    if (index == m_selectedTab)
        return;
    m_selectedTab = index;
    m_tray->setSelectedTab(index);

    // A tab's view lives only while it is shown; the old one goes with the swap.
    QWidget* view = makeTabView(index);
    QWidget* old = m_scrollArea->takeWidget();
    if (old)
        old->deleteLater();
    m_currentView = view;
    if (!view)
        return;
    m_scrollArea->setWidget(view);
    view->setAutoFillBackground(false); // the backdrop shows through
    auto* effect = new QGraphicsOpacityEffect(view);
    effect->setOpacity(0.0);
    view->setGraphicsEffect(effect);
    auto* fade = new QVariantAnimation(view);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(kContentFadeMs);
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    connect(fade, &QVariantAnimation::valueChanged, effect,
            [effect](const QVariant& value) { effect->setOpacity(value.toDouble()); });
    // Drawing through the effect costs on every frame; drop it once opaque.
    connect(fade, &QVariantAnimation::finished, view, [view] { view->setGraphicsEffect(nullptr); });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void PopoverView::applyTheme() {
    const AppTheme current = m_themeManager.currentTheme();
    const QColor accent = theme::accentColor(current);
    setPalette(darkPopoverPalette(accent));
    m_backdrop->setMaterial(theme::backgroundMaterial(current));
    m_themeButton->setIcon(symbolIcon(QStringLiteral("paintbrush.fill"), accent, this));
}

void PopoverView::applyListSymbol() {
    m_listButton->setIcon(symbolIcon(listButtonSymbol(m_preferences.showFullProcessPath()),
                                     systemColor::secondaryLabel(), this));
    m_listButton->setProperty("symbol", listButtonSymbol(m_preferences.showFullProcessPath()));
}

void PopoverView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_backdrop->setGeometry(rect());
}

} // namespace pw::ui
