#pragma once

#include <QMenu>

namespace pw::app {

// The tray entry's right-click menu: "Settings..." and "Quit Pulsewick".
// Rebuilt on every right click; deletes itself once hidden.
class TrayMenu : public QMenu {
    Q_OBJECT

public:
    explicit TrayMenu(QWidget* parent = nullptr);

    static QString settingsText() { return QStringLiteral("Settings..."); }
    static QString quitText() { return QStringLiteral("Quit Pulsewick"); }

    QAction* settingsAction() const { return m_settings; }
    QAction* quitAction() const { return m_quit; }

Q_SIGNALS:
    void settingsChosen();
    void quitChosen();

protected:
    // A plain key that is an entry's shortcut triggers it while the menu is up.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* m_settings;
    QAction* m_quit;
};

} // namespace pw::app
