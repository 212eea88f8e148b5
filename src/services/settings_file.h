#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <optional>

namespace pw {

// Settings files are a few hundred bytes; anything near this is not ours.
inline constexpr qint64 kMaxSettingsFileBytes = 1 << 20;

// Pure: the entries of an INI text as QSettings writes it. Keys of "[General]"
// come back as they are, those of another group as "group/key"; values are the
// raw text after '=' (blanks around it removed). Comment lines and lines that
// are not key=value are skipped; the last of a repeated key wins.
QMap<QString, QString> parseSettingsText(QByteArrayView text);

// Pure: a text that parseSettingsText reads back as `entries`, every key in
// the "[General]" group.
QByteArray settingsText(const QMap<QString, QString>& entries);

// A raw value with one pair of surrounding double quotes and their backslash
// escapes undone, as QSettings quotes strings.
QString unquotedSettingsValue(const QString& raw);

// Where QSettings keeps organisation and application "Pulsewick" for this
// user: $XDG_CONFIG_HOME/Pulsewick/Pulsewick.ini, else ~/.config/...
QString settingsFilePath();

// The per-user settings, read and written here rather than by QSettings, whose
// save reports success on a full disk and leaves an empty file. Reading opens
// the file without blocking and only as a regular file of at most
// kMaxSettingsFileBytes; anything else is left as it is, with one log line,
// and the defaults apply. Writing replaces the file atomically, checking
// every step.
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    const QString& path() const { return m_path; }
    // Absent when the key is not stored.
    std::optional<QString> value(const QString& key) const;
    // Stores one value, re-reading the file first so keys written meanwhile by
    // another holder stay. False, with one log line, when the file is not one
    // to touch or the write fails; the value then holds for this run only.
    bool setValue(const QString& key, const QString& value);

private:
    bool load();

    QString m_path;
    QMap<QString, QString> m_entries;
};

} // namespace pw
