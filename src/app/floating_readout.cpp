#include "app/floating_readout.h"

#include "app/window_placement.h"
#include "app/x11_hints.h"
#include "ui/menu_bar_readout.h"
#include "services/settings_file.h"
#include "ui/menu_bar_view.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace pw::app {
namespace {
// The position as QSettings writes a QPoint: "@Point(X Y)".
std::optional<QPoint> pointValue(const QString& raw) {
    if (!raw.startsWith(QLatin1String("@Point(")) || !raw.endsWith(u')'))
        return std::nullopt;
    const QStringList parts = raw.mid(7, raw.size() - 8).split(u' ', Qt::SkipEmptyParts);
    bool okX = false;
    bool okY = false;
    const QPoint point =
        parts.size() == 2 ? QPoint(parts[0].toInt(&okX), parts[1].toInt(&okY)) : QPoint();
    if (!okX || !okY)
        return std::nullopt;
    return point;
}

QList<QRect> availableAreas() {
    QList<QRect> areas;
    // The primary screen first: a fresh readout goes there.
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    }
    return areas;
}

Qt::WindowFlags readoutFlags() {
    // Wayland has no stacking or placement for clients to ask for: there it
    // is a small plain window that the compositor places.
    if (onWayland())
        return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
           Qt::WindowDoesNotAcceptFocus;
}
} // namespace

FloatingReadout::FloatingReadout(SystemStatsProvider& stats, QWidget* parent)
    : QWidget(parent, readoutFlags()) {
    setWindowTitle(QStringLiteral("Pulsewick Readout"));
    setObjectName(QStringLiteral("PulsewickReadout"));
    setFixedSize(kSize);
    auto* view = new ui::MenuBarView(stats, this);
    view->setGeometry(rect());
    // Clicks and drags belong to this window, not the view.
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (onWayland())
        return;
    move(readoutPosition(savedPosition(), availableAreas(), kSize));
    // One readout for the whole desktop: on every workspace, and not listed
    // among the windows in taskbars and pagers.
    keepOffTaskbarAndPager(this);
    showOnEveryWorkspace(this);
}

std::optional<QPoint> FloatingReadout::savedPosition() {
    const std::optional<QString> raw =
        SettingsFile(settingsFilePath()).value(QLatin1String(kPositionKey));
    return raw ? pointValue(*raw) : std::nullopt;
}

void FloatingReadout::savePosition() {
    // A failure just loses the position (and says so).
    SettingsFile(settingsFilePath())
        .setValue(QLatin1String(kPositionKey),
                  QStringLiteral("@Point(%1 %2)").arg(pos().x()).arg(pos().y()));
}

void FloatingReadout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_pressGlobal.reset();
        Q_EMIT rightClicked(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressGlobal = event->globalPosition().toPoint();
        m_pressWindowPos = pos();
        m_dragging = false;
    }
}

void FloatingReadout::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressGlobal || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint delta = event->globalPosition().toPoint() - *m_pressGlobal;
    if (!m_dragging && delta.manhattanLength() < QApplication::startDragDistance())
        return;
    if (!m_dragging && onWayland()) {
        // Wayland lets only the compositor move windows.
        m_dragging = true;
        if (windowHandle())
            windowHandle()->startSystemMove();
        return;
    }
    m_dragging = true;
    move(m_pressWindowPos + delta);
}

void FloatingReadout::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressGlobal)
        return;
    m_pressGlobal.reset();
    if (m_dragging) {
        m_dragging = false;
        // Under Wayland the compositor moved it and keeps the place to itself.
        if (!onWayland())
            savePosition();
        return;
    }
    Q_EMIT leftClicked();
}

void FloatingReadout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ui::readoutBackingColor());
}

} // namespace pw::app
