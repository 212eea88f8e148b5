#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QSystemTrayIcon;
class QWindow;

namespace pw {
class SystemStatsProvider;
}

namespace pw::app {

class FloatingReadout;

// The program's entry on the desktop: an icon in the system tray when there
// is one, else the floating readout. Either way a left click reports
// `leftClicked` and a right click `contextMenuRequested`, never both.
class TrayEntry : public QObject {
    Q_OBJECT

public:
    enum class Kind { SystemTray, FloatingReadout };

    // `kind` defaults to what the desktop offers.
    explicit TrayEntry(SystemStatsProvider& stats, std::optional<Kind> kind = std::nullopt,
                       QObject* parent = nullptr);
    ~TrayEntry() override;

    Kind kind() const { return m_kind; }
    // The entry's global geometry when the desktop tells it (not under a
    // StatusNotifierItem host).
    std::optional<QRect> anchorGeometry() const;
    // The floating window, when that is the entry.
    FloatingReadout* readout() const { return m_readout; }
    // How many times a new tray image went out (unchanged pixels are skipped).
    int iconUpdates() const { return m_iconUpdates; }

Q_SIGNALS:
    void leftClicked();
    void contextMenuRequested(QPoint globalPos);

private:
    void refreshIcon();

    SystemStatsProvider& m_stats;
    Kind m_kind;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    FloatingReadout* m_readout = nullptr; // owned here, deleted in the destructor
    QImage m_lastImage;
    QString m_lastToolTip;
    int m_iconUpdates = 0;
};

} // namespace pw::app
