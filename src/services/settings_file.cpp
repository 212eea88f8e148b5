#include "services/settings_file.h"

#include "platform/linux/file_reader.h"
#include "services/atomic_write.h"
#include "services/log_line.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

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

// Keys as QSettings writes them: '/' as '\\', letters, digits and "_-." as
// they are, anything else as %XX or %UXXXX. A written key never starts a
// comment or a group, and never holds '=' or a blank.
QString escapedKey(const QString& key) {
    QString out;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (u == u'/')
            out += u'\\';
        else if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
                 u == u'_' || u == u'-' || u == u'.')
            out += c;
        else if (u <= 0xFF)
            out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QStringLiteral("%U%1").arg(u, 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

// The inverse of escapedKey; what is not a whole escape stays as it is.
QString unescapedKey(QStringView key) {
    QString out;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c == u'\\') {
            out += u'/';
            continue;
        }
        const bool wide = c == u'%' && key.mid(i + 1, 1) == u"U";
        const qsizetype digits = wide ? 4 : 2;
        const QStringView hex = key.mid(i + (wide ? 2 : 1), digits);
        bool ok = c == u'%' && hex.size() == digits;
        const uint code = ok ? hex.toUInt(&ok, 16) : 0;
        // toUInt takes a sign or blanks; an escape is hex digits only.
        ok = ok && std::all_of(hex.begin(), hex.end(), [](QChar h) {
                 const char16_t u = h.unicode();
                 return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') ||
                        (u >= u'A' && u <= u'F');
             });
        if (ok) {
            out += QChar(static_cast<char16_t>(code));
            i += digits + (wide ? 1 : 0);
        } else {
            out += c;
        }
    }
    return out;
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
            group = unescapedKey(line.mid(1, line.size() - 2));
            if (group == u"General")
                group.clear();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? QString() : unescapedKey(line.left(eq).trimmed());
        if (key.isEmpty())
            continue;
        entries.insert(group.isEmpty() ? key : group + u'/' + key,
                       line.mid(eq + 1).trimmed().toString());
    }
    return entries;
}

QByteArray settingsText(const QMap<QString, QString>& entries) {
    QString text = QStringLiteral("[General]\n");
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        text += escapedKey(it.key()) + u'=' + it.value() + u'\n';
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
