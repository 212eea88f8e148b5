#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

namespace pw {
class SystemStatsProvider;
}

namespace pw::app {

// The tray entry where the desktop has no system tray: a frameless 70 x 22
// window above the others showing the readout. It can be dragged anywhere and
// comes back at the same place on the next launch.
class FloatingReadout : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kSize{70, 22};
    static constexpr auto kPositionKey = "readoutPosition";

    explicit FloatingReadout(SystemStatsProvider& stats, QWidget* parent = nullptr);

    // The saved position, if the settings hold a valid one.
    static std::optional<QPoint> savedPosition();

Q_SIGNALS:
    void leftClicked();
    void rightClicked(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void savePosition();

    std::optional<QPoint> m_pressGlobal; // left button down here
    QPoint m_pressWindowPos;
    bool m_dragging = false;
};

} // namespace pw::app
