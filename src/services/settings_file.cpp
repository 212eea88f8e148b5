#include "services/settings_file.h"

#include "platform/linux/file_reader.h"
#include "services/atomic_write.h"
#include "services/log_line.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace pw {
namespace {

// Paths refused and logged, so a refusal is reported once per spell.
QSet<QString>& refusedPaths() {
    static QSet<QString> paths;
    return paths;
}

void reportRefused(const QString& path, const char* problem) {
    if (refusedPaths().contains(path))
        return;
    refusedPaths().insert(path);
    logLine(QStringLiteral("Not using the settings file %1: it %2. The defaults apply and the "
                           "file is left as it is.")
                .arg(path, QLatin1String(problem)));
}

} // namespace

QMap<QString, QString> parseSettingsText(QByteArrayView text) {
    QMap<QString, QString> entries;
    QString group;
    const QString whole = QString::fromUtf8(text);
    for (QStringView line : QStringView(whole).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2).toString();
            if (group == u"General")
                group.clear();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QStringView key = eq < 0 ? QStringView() : line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        const QString name = group.isEmpty() ? key.toString() : group + u'/' + key.toString();
        entries.insert(name, line.mid(eq + 1).trimmed().toString());
    }
    return entries;
}

QByteArray settingsText(const QMap<QString, QString>& entries) {
    QString text = QStringLiteral("[General]\n");
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        text += it.key() + u'=' + it.value() + u'\n';
    return text.toUtf8();
}

QString unquotedSettingsValue(const QString& raw) {
    if (raw.size() < 2 || !raw.startsWith(u'"') || !raw.endsWith(u'"'))
        return raw;
    QString out;
    for (qsizetype i = 1; i + 1 < raw.size(); ++i) {
        QChar c = raw[i];
        if (c == u'\\' && i + 2 < raw.size()) {
            c = raw[++i];
            if (c == u'n')
                c = u'\n';
            else if (c == u't')
                c = u'\t';
            else if (c == u'r')
                c = u'\r';
        }
        out += c;
    }
    return out;
}

QString settingsFilePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Pulsewick/Pulsewick.ini"));
}

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {
    load();
}

bool SettingsFile::load() {
    std::string buffer;
    platform::ReadFailure failure = platform::ReadFailure::Unreadable;
    const auto text =
        platform::readFileQuietly(QFile::encodeName(m_path).toStdString(), buffer,
                                  static_cast<std::size_t>(kMaxSettingsFileBytes), failure);
    if (text) {
        refusedPaths().remove(m_path);
        m_entries = parseSettingsText(QByteArrayView(text->data(), text->size()));
        return true;
    }
    switch (failure) {
    case platform::ReadFailure::Missing:
        refusedPaths().remove(m_path);
        return true; // made on the first save
    case platform::ReadFailure::NotRegularFile:
        reportRefused(m_path, "is not a regular file");
        break;
    case platform::ReadFailure::TooLong:
        reportRefused(m_path, "is larger than 1 MiB");
        break;
    case platform::ReadFailure::Unreadable:
        reportRefused(m_path, "cannot be read");
        break;
    }
    return false;
}

std::optional<QString> SettingsFile::value(const QString& key) const {
    const auto it = m_entries.constFind(key);
    if (it == m_entries.constEnd())
        return std::nullopt;
    return *it;
}

bool SettingsFile::setValue(const QString& key, const QString& value) {
    const bool writable = load();
    m_entries.insert(key, value);
    if (!writable)
        return false;
    const QString folder = QFileInfo(m_path).absolutePath();
    std::optional<QString> error;
    if (!QDir().mkpath(folder))
        error = QStringLiteral("cannot create %1").arg(folder);
    else
        error = writeFileAtomically(m_path, settingsText(m_entries));
    if (error) {
        logLine(QStringLiteral("Failed to write settings: ") + *error);
        return false;
    }
    return true;
}

} // namespace pw
