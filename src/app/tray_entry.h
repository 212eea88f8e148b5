#pragma once

#include "ui/menu_bar_readout.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QAction;
class QSystemTrayIcon;

namespace pw {
class SystemStatsProvider;
}

namespace pw::app {

class FloatingReadout;
class StatusNotifierItem;
class TrayHostWatch;
class XembedTrayIcon;

// The program's entry on the desktop: a StatusNotifierItem where a host for
// one runs, an XEmbed tray icon where only such a tray does, else the
// floating readout. It follows the tray as panels come and go. Whichever it
// is, a left click reports `leftClicked` and a right click
// `contextMenuRequested`, never both; StatusNotifierItem hosts show the
// menu made of `menuActions` themselves.
class TrayEntry : public QObject {
    Q_OBJECT

public:
    enum class Kind { StatusNotifier, SystemTray, FloatingReadout };

    // `kind` pins the entry to one kind; by default it follows the desktop.
    TrayEntry(SystemStatsProvider& stats, QList<QAction*> menuActions,
              std::optional<Kind> kind = std::nullopt, QObject* parent = nullptr);
    ~TrayEntry() override;

    Kind kind() const { return m_kind; }
    // The entry's global geometry when the desktop tells it: the readout's
    // frame, the XEmbed icon, or the point a StatusNotifierItem host gave with
    // its last click.
    std::optional<QRect> anchorGeometry() const;
    // The floating window, when that is the entry.
    FloatingReadout* readout() const { return m_readout.get(); }
    StatusNotifierItem* statusNotifierItem() const { return m_item.get(); }
    // How many times a new tray image went out (unchanged pixels are skipped).
    int iconUpdates() const { return m_iconUpdates; }

Q_SIGNALS:
    void leftClicked();
    void contextMenuRequested(QPoint globalPos);
    void kindChanged(Kind kind);

private:
    void become(Kind kind);
    void refreshIcon();
    const QImage& xembedImage(const ui::ReadoutFigures& figures) const;

    SystemStatsProvider& m_stats;
    QList<QAction*> m_menuActions;
    std::unique_ptr<TrayHostWatch> m_watch; // absent when pinned
    Kind m_kind = Kind::FloatingReadout;
    std::unique_ptr<XembedTrayIcon> m_xembed;
    // Qt's own icon, where ours cannot dock (another platform, an odd visual).
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<StatusNotifierItem> m_item;
    std::unique_ptr<FloatingReadout> m_readout;
    std::optional<QPoint> m_lastActivation;
    QList<QImage> m_lastImages;
    QString m_lastToolTip;
    int m_iconUpdates = 0;
};

} // namespace pw::app
