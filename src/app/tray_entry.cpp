#include "app/tray_entry.h"

#include "app/floating_readout.h"
#include "services/system_stats_provider.h"
#include "ui/menu_bar_readout.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace pw::app {
namespace {
constexpr int kDefaultIconSide = 22;
} // namespace

TrayEntry::TrayEntry(SystemStatsProvider& stats, std::optional<Kind> kind, QObject* parent)
    : QObject(parent), m_stats(stats),
      m_kind(kind.value_or(QSystemTrayIcon::isSystemTrayAvailable() ? Kind::SystemTray
                                                                    : Kind::FloatingReadout)) {
    if (m_kind == Kind::SystemTray) {
        m_icon = std::make_unique<QSystemTrayIcon>();
        // No context menu on the icon itself: Qt would show it on a right
        // click by its own rules; ours goes up from `Context` below.
        connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    switch (reason) {
                    case QSystemTrayIcon::Trigger:
                    case QSystemTrayIcon::DoubleClick:
                        Q_EMIT leftClicked();
                        break;
                    case QSystemTrayIcon::Context:
                        Q_EMIT contextMenuRequested(QCursor::pos());
                        break;
                    default:
                        break;
                    }
                });
        connect(&m_stats, &SystemStatsProvider::cycleFinished, this, &TrayEntry::refreshIcon);
        refreshIcon();
        m_icon->show();
    } else {
        m_readout = new FloatingReadout(m_stats);
        connect(m_readout, &FloatingReadout::leftClicked, this, &TrayEntry::leftClicked);
        connect(m_readout, &FloatingReadout::rightClicked, this, &TrayEntry::contextMenuRequested);
        m_readout->show();
    }
}

TrayEntry::~TrayEntry() {
    delete m_readout;
}

std::optional<QRect> TrayEntry::anchorGeometry() const {
    if (m_readout)
        return m_readout->frameGeometry();
    if (m_icon) {
        const QRect geometry = m_icon->geometry();
        if (!geometry.isEmpty())
            return geometry;
    }
    return std::nullopt;
}

void TrayEntry::refreshIcon() {
    if (!m_icon)
        return;
    // Trays show a square; draw the square layout at the size the tray gives.
    const QRect geometry = m_icon->geometry();
    const int side =
        geometry.isEmpty() ? kDefaultIconSide : std::min(geometry.width(), geometry.height());
    const qreal dpr = qApp->devicePixelRatio();
    const ui::ReadoutFigures figures = ui::readoutFigures(m_stats);
    QImage image =
        ui::renderMenuBarReadout(figures, QSize(side, side), dpr, ui::platformAccentColor());
    if (image != m_lastImage) {
        m_lastImage = image;
        m_icon->setIcon(QIcon(QPixmap::fromImage(image)));
        ++m_iconUpdates;
    }
    const QString toolTip = ui::readoutToolTip(figures);
    if (toolTip != m_lastToolTip) {
        m_lastToolTip = toolTip;
        m_icon->setToolTip(toolTip);
    }
}

} // namespace pw::app
