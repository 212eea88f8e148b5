#include "services/launch_at_login.h"

#include "platform/linux/file_reader.h"
#include "services/atomic_write.h"
#include "services/log_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace pw {
namespace {

constexpr auto kEntryName = "pulsewick.desktop";

QString autostartFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
}

// An Exec argument quoted as the desktop-entry format asks: inside double
// quotes, `"`, `` ` ``, `$` and `\` are escaped; `%` is doubled so the launcher
// does not read a field code.
QString quotedExecArgument(const QString& path) {
    QString out = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    out += u'"';
    // The file format escapes backslashes once more in string values.
    return out.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
}

bool switchedOffInside(const QByteArray& text) {
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return true;
    }
    return false;
}

} // namespace

LaunchAtLogin& LaunchAtLogin::shared() {
    static LaunchAtLogin* instance =
        new LaunchAtLogin(autostartFolder(), QCoreApplication::applicationFilePath());
    return *instance;
}

LaunchAtLogin::LaunchAtLogin(QString autostartFolder, QString executable, QObject* parent)
    : QObject(parent), m_folder(std::move(autostartFolder)), m_executable(std::move(executable)) {}

QString LaunchAtLogin::entryPath() const {
    return QDir(m_folder).filePath(QLatin1String(kEntryName));
}

bool LaunchAtLogin::enabled() const {
    // Read without blocking and only as a regular file: a FIFO or a huge file
    // there is not ours and reads as off.
    std::string buffer;
    const auto text = platform::readFile(QFile::encodeName(entryPath()).toStdString(), buffer);
    return text &&
           !switchedOffInside(QByteArray(text->data(), static_cast<qsizetype>(text->size())));
}

bool LaunchAtLogin::setEnabled(bool on) {
    if (on == enabled())
        return true;
    m_lastError.clear();
    if (on) {
        if (!QDir().mkpath(m_folder)) {
            m_lastError = QStringLiteral("cannot create %1").arg(m_folder);
        } else {
            const QByteArray text = QByteArrayLiteral("[Desktop Entry]\n"
                                                      "Type=Application\n"
                                                      "Name=Pulsewick\n"
                                                      "Comment=System monitor in the tray\n"
                                                      "Exec=") +
                                    quotedExecArgument(m_executable).toUtf8() +
                                    QByteArrayLiteral("\n"
                                                      "Terminal=false\n"
                                                      "X-GNOME-Autostart-enabled=true\n");
            if (const std::optional<QString> error = writeFileAtomically(entryPath(), text))
                m_lastError = *error;
        }
    } else {
        QFile file(entryPath());
        if (!file.remove())
            m_lastError = file.errorString();
    }
    if (!m_lastError.isEmpty()) {
        logLine(QStringLiteral("Failed to change Launch at Login: %1").arg(m_lastError));
        return false;
    }
    Q_EMIT enabledChanged(on);
    return true;
}

} // namespace pw
