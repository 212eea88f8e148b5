#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

#include <optional>

class QScrollArea;

namespace pw::app {

// The frameless 320 x 620 window that stands in for the popover: it hangs
// under the tray entry inside its screen's work area (on Wayland the
// compositor places it), takes the keyboard when shown, and goes away on
// Escape, on a second left click on the tray entry, or when another
// application becomes active. Clicks in our own windows leave it open. On a
// screen too short for it the content scrolls.
class PopupWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kSize{320, 620};

    // Takes ownership of `content`, shown at its own size.
    explicit PopupWindow(QWidget* content, QWidget* parent = nullptr);

    bool isOpen() const { return isVisible(); }

    // `anchor` is the tray entry's global geometry when known; otherwise the
    // popup goes under the pointer.
    void openPopup(const std::optional<QRect>& anchor);
    void closePopup();
    // A left click on the tray entry.
    void toggle(const std::optional<QRect>& anchor);
    // Follows the application's state: another application became active
    // when ours turns inactive.
    void onApplicationStateChanged(Qt::ApplicationState state);

    QScrollArea* scrollArea() const { return m_scroll; }

Q_SIGNALS:
    void openedChanged(bool open);

private:
    QScrollArea* m_scroll;
    // When the popup last closed because focus left us: the click on the tray
    // entry that caused it must not open it again at once.
    QElapsedTimer m_closedByDeactivation;
};

} // namespace pw::app
