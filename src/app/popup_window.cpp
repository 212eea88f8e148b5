#include "app/popup_window.h"

#include "app/window_placement.h"
#include "app/x11_hints.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include <cmath>

namespace pw::app {
namespace {
// A click on the tray entry can take focus away (closing us) a moment before
// the tray reports the click itself.
constexpr qint64 kReopenGuardMs = 300;
} // namespace

PopupWindow::PopupWindow(QWidget* content, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_scroll(new QScrollArea) {
    setWindowTitle(QStringLiteral("Pulsewick Popup"));
    setObjectName(QStringLiteral("PulsewickPopup"));
    setFixedSize(kSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (content) {
        m_scroll->setBackgroundRole(content->backgroundRole());
        m_scroll->setWidget(content);
    }
    layout->addWidget(m_scroll);
    keepOffTaskbarAndPager(this);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &PopupWindow::closePopup);

    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &PopupWindow::onApplicationStateChanged);
}

void PopupWindow::openPopup(const std::optional<QRect>& anchor) {
    const QPoint pointer = QCursor::pos();
    const QPoint probe = anchor && !anchor->isEmpty() ? anchor->center() : pointer;
    QScreen* screen = QGuiApplication::screenAt(probe);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QRect available = screen ? screen->availableGeometry() : QRect();
    // At fractional scales a window's device pixels are rounded outwards:
    // one logical pixel less keeps its far edge inside too.
    if (screen &&
        !qFuzzyCompare(screen->devicePixelRatio(), std::round(screen->devicePixelRatio())))
        available.adjust(0, 0, -1, -1);
    const QSize content = m_scroll->widget() ? m_scroll->widget()->size() : kSize;
    const QSize size =
        popupSizeWithin(content, available, m_scroll->verticalScrollBar()->sizeHint().width());
    setFixedSize(size);
    if (!onWayland())
        move(popupTopLeft(anchor, pointer, available, size));
    const bool wasOpen = isVisible();
    show();
    raise();
    activateWindow();
    setFocus(Qt::PopupFocusReason);
    if (!wasOpen)
        Q_EMIT openedChanged(true);
}

void PopupWindow::closePopup() {
    if (!isVisible())
        return;
    hide();
    Q_EMIT openedChanged(false);
}

void PopupWindow::toggle(const std::optional<QRect>& anchor) {
    if (isVisible()) {
        closePopup();
        return;
    }
    if (m_closedByDeactivation.isValid() && m_closedByDeactivation.elapsed() < kReopenGuardMs) {
        m_closedByDeactivation.invalidate();
        return;
    }
    openPopup(anchor);
}

void PopupWindow::onApplicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive || !isVisible())
        return;
    m_closedByDeactivation.start();
    closePopup();
}

} // namespace pw::app
