#include "app/tray_menu.h"

#include <QKeyEvent>

namespace pw::app {

TrayMenu::TrayMenu(QWidget* parent) : QMenu(parent) {
    setWindowTitle(QStringLiteral("Pulsewick Menu"));
    // Hidden by a choice, Escape or a click elsewhere: gone either way.
    connect(this, &QMenu::aboutToHide, this, &QObject::deleteLater);
    m_settings = addAction(settingsText());
    m_settings->setShortcut(QKeySequence(QStringLiteral(",")));
    addSeparator();
    m_quit = addAction(quitText());
    m_quit->setShortcut(QKeySequence(QStringLiteral("q")));
    // Shown in the menu, matched by keyPressEvent: they must not fire while
    // the menu is closed.
    m_settings->setShortcutContext(Qt::WidgetShortcut);
    m_quit->setShortcutContext(Qt::WidgetShortcut);
    // However an entry was chosen, the menu goes first, then the choice acts.
    connect(m_settings, &QAction::triggered, this, [this] {
        hide();
        Q_EMIT settingsChosen();
    });
    connect(m_quit, &QAction::triggered, this, [this] {
        hide();
        Q_EMIT quitChosen();
    });
}

void TrayMenu::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QMenu::keyPressEvent(event);
        return;
    }
    const QKeySequence pressed(event->key());
    for (QAction* action : {m_settings, m_quit}) {
        if (action->isEnabled() &&
            action->shortcut().matches(pressed) == QKeySequence::ExactMatch) {
            action->trigger();
            return;
        }
    }
    QMenu::keyPressEvent(event);
}

} // namespace pw::app
