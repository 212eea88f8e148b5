#include "ui/dashboard_window.h"

#include "services/system_colors.h"
#include "ui/dashboard_style.h"
#include "ui/settings_logic.h"
#include "ui/settings_view.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace pw::ui {
namespace {

// The dashboard is dark whatever the desktop's colour scheme.
QPalette darkPalette() {
    QPalette p;
    const QColor background = dashboardStyle::detailBackground();
    const QColor raised = dashboardStyle::sidebarBackground();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Base, raised.darker(120));
    p.setColor(QPalette::AlternateBase, raised);
    p.setColor(QPalette::Button, raised.lighter(130));
    p.setColor(QPalette::Light, raised.lighter(170));
    p.setColor(QPalette::Midlight, raised.lighter(150));
    p.setColor(QPalette::Mid, raised);
    p.setColor(QPalette::Dark, background.darker(150));
    p.setColor(QPalette::Shadow, systemColor::black());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                      QPalette::BrightText, QPalette::HighlightedText, QPalette::ToolTipText})
        p.setColor(role, systemColor::primaryLabel());
    p.setColor(QPalette::PlaceholderText, systemColor::secondaryLabel());
    p.setColor(QPalette::Highlight, systemColor::blue());
    p.setColor(QPalette::ToolTipBase, raised);
    p.setColor(QPalette::Disabled, QPalette::WindowText, systemColor::secondaryLabel());
    p.setColor(QPalette::Disabled, QPalette::Text, systemColor::secondaryLabel());
    p.setColor(QPalette::Disabled, QPalette::ButtonText, systemColor::secondaryLabel());
    return p;
}

} // namespace

DashboardWindow::DashboardWindow(ThemeManager& themeManager, Preferences& preferences,
                                 const StatsModels& models, const QString& initialPage,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("Pulsewick Dashboard"));
    setPalette(darkPalette());
    setAutoFillBackground(true);
    // An empty request names no page, like a missing one.
    m_view = new SettingsView(themeManager, preferences, models,
                              initialPage.isEmpty() ? defaultDashboardPage() : initialPage);
    // The view stretches with the window and scrolls once the window is
    // smaller than the view's own minimum.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("dashboardScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_view);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    setMinimumSize(kMinimumSize);
    fitAndCentreOnScreen();
}

void DashboardWindow::fitAndCentreOnScreen() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) {
        resize(kWidth, kHeight);
        return;
    }
    const QRect area = s->availableGeometry();
    // Where the screen is smaller than the window with the title bar and
    // borders the window manager adds, the window gives way.
    constexpr QSize kFrameAllowance{20, 40};
    QSize size(kWidth, kHeight);
    if (area.width() < kWidth + kFrameAllowance.width())
        size.setWidth(area.width() - kFrameAllowance.width());
    if (area.height() < kHeight + kFrameAllowance.height())
        size.setHeight(area.height() - kFrameAllowance.height());
    size = size.expandedTo(kMinimumSize);
    resize(size);
    move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace pw::ui
