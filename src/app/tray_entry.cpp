#include "app/tray_entry.h"

#include "app/floating_readout.h"
#include "app/status_notifier_item.h"
#include "app/tray_host_watch.h"
#include "app/x11_hints.h"
#include "app/xembed_tray_icon.h"
#include "services/system_stats_provider.h"

#include <QCursor>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

namespace pw::app {
namespace {
TrayEntry::Kind kindFor(TrayHostWatch::Host host) {
    switch (host) {
    case TrayHostWatch::Host::StatusNotifier:
        return TrayEntry::Kind::StatusNotifier;
    case TrayHostWatch::Host::XEmbed:
        return TrayEntry::Kind::SystemTray;
    case TrayHostWatch::Host::None:
        break;
    }
    return TrayEntry::Kind::FloatingReadout;
}

// Hosts speak in the X server's pixels; Qt's windows in scaled ones.
QPoint logicalFromDevice(QPoint device) {
    for (QScreen* screen : QGuiApplication::screens()) {
        const qreal dpr = screen->devicePixelRatio();
        const QRect logical = screen->geometry();
        const QRect native(logical.topLeft() * dpr, logical.size() * dpr);
        if (native.contains(device))
            return (QPointF(device) / dpr).toPoint();
    }
    return device;
}
} // namespace

TrayEntry::TrayEntry(SystemStatsProvider& stats, QList<QAction*> menuActions,
                     std::optional<Kind> kind, QObject* parent)
    : QObject(parent), m_stats(stats), m_menuActions(std::move(menuActions)) {
    if (!kind) {
        m_watch = std::make_unique<TrayHostWatch>(QDBusConnection::sessionBus());
        connect(m_watch.get(), &TrayHostWatch::hostChanged, this,
                [this](TrayHostWatch::Host host) { become(kindFor(host)); });
    }
    connect(&m_stats, &SystemStatsProvider::cycleFinished, this, &TrayEntry::refreshIcon);
    become(kind ? *kind : kindFor(m_watch->host()));
}

TrayEntry::~TrayEntry() = default;

void TrayEntry::become(Kind kind) {
    const bool first = !m_xembed && !m_icon && !m_item && !m_readout;
    m_xembed.reset();
    m_icon.reset();
    m_item.reset();
    m_readout.reset();
    m_lastImages.clear();
    m_lastToolTip.clear();
    m_lastActivation.reset();
    m_kind = kind;

    switch (kind) {
    case Kind::StatusNotifier:
        m_item = std::make_unique<StatusNotifierItem>(m_menuActions, QDBusConnection::sessionBus());
        connect(m_item.get(), &StatusNotifierItem::activated, this, [this](QPoint at) {
            m_lastActivation = at;
            Q_EMIT leftClicked();
        });
        connect(m_item.get(), &StatusNotifierItem::contextMenuRequested, this,
                [this](QPoint at) { Q_EMIT contextMenuRequested(onX11() ? at : QCursor::pos()); });
        break;
    case Kind::SystemTray:
        m_xembed = XembedTrayIcon::dock();
        if (m_xembed) {
            connect(m_xembed.get(), &XembedTrayIcon::clicked, this, [this](Qt::MouseButton b) {
                if (b == Qt::LeftButton)
                    Q_EMIT leftClicked();
                else if (b == Qt::RightButton)
                    Q_EMIT contextMenuRequested(QCursor::pos());
            });
            // A new size needs a new frame now.
            connect(m_xembed.get(), &XembedTrayIcon::slotChanged, this, &TrayEntry::refreshIcon);
            m_xembed->setToolTipSource(
                [this] { return ui::readoutToolTip(ui::readoutFigures(m_stats)); });
            break;
        }
        // Made anew each time, as Qt docks the icon when it is created. Only
        // made while no StatusNotifierItem watcher runs: Qt settles once per
        // process whether its icons use one, so it must first ask when there
        // is none, and then always gives an XEmbed icon.
        m_icon = std::make_unique<QSystemTrayIcon>();
        // No context menu on the icon itself: Qt would show it on a right
        // click by its own rules; ours goes up from `Context` below.
        connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger ||
                        reason == QSystemTrayIcon::DoubleClick)
                        Q_EMIT leftClicked();
                    else if (reason == QSystemTrayIcon::Context)
                        Q_EMIT contextMenuRequested(QCursor::pos());
                });
        break;
    case Kind::FloatingReadout:
        m_readout = std::make_unique<FloatingReadout>(m_stats);
        connect(m_readout.get(), &FloatingReadout::leftClicked, this, &TrayEntry::leftClicked);
        connect(m_readout.get(), &FloatingReadout::rightClicked, this,
                &TrayEntry::contextMenuRequested);
        m_readout->show();
        break;
    }
    refreshIcon();
    if (m_icon)
        m_icon->show();
    if (!first)
        Q_EMIT kindChanged(kind);
}

std::optional<QRect> TrayEntry::anchorGeometry() const {
    if (m_readout)
        return m_readout->frameGeometry();
    if (m_xembed) {
        const QRect geometry = m_xembed->geometry();
        if (!geometry.isEmpty())
            return geometry;
    }
    if (m_icon) {
        const QRect geometry = m_icon->geometry();
        if (!geometry.isEmpty())
            return geometry;
    }
    // Hosts report where the click was in screen coordinates; only X11 has
    // those to offer.
    if (m_item && m_lastActivation && onX11() && !m_lastActivation->isNull())
        return QRect(logicalFromDevice(*m_lastActivation), QSize(1, 1));
    return std::nullopt;
}

// Our XEmbed icon has one slot whose size the tray told us: drawing only that
// is a fifth of the work of every variant, every second.
const QImage& TrayEntry::xembedImage(const ui::ReadoutFigures& figures) const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpr = screen ? screen->devicePixelRatio() : 1.0;
    const QSize pixels = m_xembed->slotPixels();
    const QSize logical = pixels.isEmpty() ? QSize(22, 22) : (QSizeF(pixels) / dpr).toSize();
    return ui::drawMenuBarReadout(figures, logical, dpr, ui::platformAccentColor());
}

void TrayEntry::refreshIcon() {
    if (!m_xembed && !m_icon && !m_item)
        return;
    const ui::ReadoutFigures figures = ui::readoutFigures(m_stats);
    if (m_xembed) {
        // One image, drawn where it is kept and copied only when it changed;
        // the tooltip is made when it shows.
        if (m_xembed->setImage(xembedImage(figures)))
            ++m_iconUpdates;
        return;
    }
    const QList<QImage> images = ui::renderTrayIconImages(figures, ui::platformAccentColor());
    if (images != m_lastImages) {
        m_lastImages = images;
        if (m_item)
            m_item->setImages(images);
        else
            m_icon->setIcon(ui::trayIconFromImages(images));
        ++m_iconUpdates;
    }
    const QString toolTip = ui::readoutToolTip(figures);
    if (toolTip != m_lastToolTip) {
        m_lastToolTip = toolTip;
        if (m_item)
            m_item->setToolTip(QStringLiteral("Pulsewick"), toolTip);
        else
            m_icon->setToolTip(toolTip);
    }
}

} // namespace pw::app
