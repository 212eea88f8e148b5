#pragma once

#include <QAbstractNativeEventFilter>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

namespace pw::app {

// An icon docked in an XEmbed system tray whose pixels go straight into its
// X window. Qt's own tray icon repaints a widget through a backing store and
// asks the server for the tray's background on every frame, a round trip each
// second; here a frame is one PutImage. Where the tray offers an ARGB visual
// the image goes as it is; otherwise it is blended in-process over the tray's
// background, which is fetched again only when the tray exposes or resizes
// the icon. A new tray taking the selection gets the icon docked anew.
class XembedTrayIcon : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // Null off X11, without a tray, or on a screen whose pixels are not 32 bits.
    static std::unique_ptr<XembedTrayIcon> dock(QObject* parent = nullptr);
    ~XembedTrayIcon() override;

    // The slot the tray gave the icon, in the X server's pixels; empty until
    // the tray has sized it.
    QSize slotPixels() const { return m_slot; }
    // Where the icon is on screen, in Qt's logical pixels (a round trip: for
    // placing windows, not for every frame).
    QRect geometry() const;

    // Shows `image`, scaled to the slot when its size differs; a copy is
    // kept. False, and nothing sent, when it is the frame already shown.
    bool setImage(const QImage& image);
    // Asked for the tooltip's text when it is about to show, so a figure
    // that changes every second is not formatted every second.
    void setToolTipSource(std::function<QString()> source) { m_toolTipSource = std::move(source); }
    // How many frames went to the server; for tests.
    int framesPut() const { return m_framesPut; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void clicked(Qt::MouseButton button);
    void slotChanged(QSize pixels);

private:
    XembedTrayIcon() = default;
    bool create();
    void destroyWindow();
    bool requestDock();
    void putFrame();
    void fetchBackground();

    std::uint32_t m_window = 0;
    std::uint32_t m_gc = 0;
    std::uint32_t m_colormap = 0;
    std::uint8_t m_depth = 0;
    bool m_argb = false;
    std::uint32_t m_selection = 0;
    std::uint32_t m_manager = 0;
    std::uint32_t m_opcode = 0;
    QSize m_slot;
    QImage m_image;      // what was last asked for
    QImage m_background; // the tray behind a non-ARGB icon
    QImage m_blended;    // the frame laid over it, kept between frames
    bool m_exposed = false;
    std::function<QString()> m_toolTipSource;
    QTimer m_toolTipDelay;
    int m_framesPut = 0;
};

} // namespace pw::app
