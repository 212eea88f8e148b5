#pragma once

#include <QObject>
#include <QString>

namespace pw {

// Whether Pulsewick starts with the desktop session, kept as an XDG autostart
// entry ("pulsewick.desktop" in the user's autostart folder). The entry on
// disk is the truth: the state is read from it, never remembered elsewhere.
class LaunchAtLogin : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled NOTIFY enabledChanged)

public:
    // Over $XDG_CONFIG_HOME/autostart (else ~/.config/autostart), starting
    // the running executable.
    static LaunchAtLogin& shared();

    LaunchAtLogin(QString autostartFolder, QString executable, QObject* parent = nullptr);

    // True when the entry exists and is not switched off inside (Hidden=true or
    // X-GNOME-Autostart-enabled=false). Read from disk on each call.
    bool enabled() const;
    // Writes or removes the entry. On failure the state stays as it was, the
    // reason is logged and kept in lastError(), and false is returned.
    bool setEnabled(bool on);
    QString lastError() const { return m_lastError; }

    QString entryPath() const;

Q_SIGNALS:
    void enabledChanged(bool enabled);

private:
    QString m_folder;
    QString m_executable;
    QString m_lastError;
};

} // namespace pw
