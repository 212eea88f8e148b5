#include "ui/app_launch_button.h"

#include "services/system_colors.h"
#include "ui/symbols.h"
#include "ui/view_logic.h"

#include <QPainter>
#include <QPainterPath>
#include <QProcess>

namespace pw::ui {

Launcher detachedLauncher() {
    return [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
}

AppLaunchButton::AppLaunchButton(const ProcessInfoData& process, Launcher launcher, QWidget* parent)
    : QAbstractButton(parent) {
    setFixedSize(24, 24);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &AppLaunchButton::launch);
    setProcess(process, std::move(launcher));
}

void AppLaunchButton::setProcess(const ProcessInfoData& process, Launcher launcher) {
    // The list comes every two seconds, mostly with the same programs: a
    // button repaints (and its tray's rounded backing under it) only when
    // its icon changes.
    const bool sameLook = process.icon.cacheKey() == m_process.icon.cacheKey();
    m_process = process;
    m_launcher = std::move(launcher);
    setToolTip(launcherToolTip(process.name));
    setEnabled(launchCommandFor(process.desktopEntry).has_value());
    if (!sameLook)
        update();
}

void AppLaunchButton::launch() {
    // Only the desktop entry found for the executable is ever started; the
    // process's own path and name are not trusted.
    const auto command = launchCommandFor(m_process.desktopEntry);
    if (!command || !m_launcher)
        return;
    m_launcher(command->program, command->arguments);
}

void AppLaunchButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.5);
    const QRectF frame(rect());
    if (m_process.icon.isNull()) {
        painter.drawPixmap(QPointF(0, 0),
                           symbolPixmap(QStringLiteral("app.fill"), systemColor::secondaryLabel(),
                                        24, devicePixelRatioF()));
        return;
    }
    QPainterPath shape;
    shape.addRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(shape, QColor(0, 0, 0, 51));
    painter.save();
    painter.setClipPath(shape);
    m_process.icon.paint(&painter, rect(), Qt::AlignCenter);
    painter.restore();
    painter.setPen(QPen(QColor(255, 255, 255, 26), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
    if (isDown())
        painter.fillPath(shape, QColor(255, 255, 255, 30));
}

} // namespace pw::ui
