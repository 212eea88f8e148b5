#pragma once

// Installed desktop applications keyed by the executable they run, so a process
// found in /proc can be shown with its application's icon and launched again
// through its desktop file.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace pw::platform {

// The keys of a desktop file's [Desktop Entry] group this program uses.
// Localised variants (Icon[de]=...) and other groups are ignored.
struct DesktopEntryFields {
    QString type;
    QString exec;
    QString tryExec;
    QString icon;
    bool noDisplay = false;
    bool hidden = false;
};

// Pure: absent when the text has no [Desktop Entry] group.
std::optional<DesktopEntryFields> parseDesktopEntry(QStringView text);

// Pure: the program an Exec value starts, with the format's escapes and quoting
// undone and a leading `env NAME=value ...` skipped. Empty when there is none.
QString execProgram(QStringView exec);

// Pure: the folders that hold application desktop files, most important first:
// $XDG_DATA_HOME (default ~/.local/share) then each of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), each with "/applications" appended.
QStringList applicationDirectories(const QString& dataHome, const QString& dataDirs,
                                   const QString& home);

struct DesktopApplication {
    QString desktopFile; // absolute path of the .desktop file
    QString icon;        // Icon value as written: a theme name or an absolute path
};

class DesktopEntryIndex {
public:
    // Reads every desktop file under `applicationDirs` (recursively). Exec and
    // TryExec programs are resolved through `searchPath` and through symlinks.
    // An earlier folder's file hides a later one with the same desktop file id.
    static DesktopEntryIndex scan(const QStringList& applicationDirs,
                                  const QStringList& searchPath);
    // The same over the XDG folders and PATH of this process's environment.
    static DesktopEntryIndex scanEnvironment();

    // The application that runs `executablePath` (compared after resolving
    // symlinks), if any.
    std::optional<DesktopApplication> find(const QString& executablePath) const;

    qsizetype size() const { return m_byExecutable.size(); }

private:
    void add(const QString& executable, const DesktopApplication& app, bool visible);

    struct Entry {
        DesktopApplication app;
        bool visible = true;
    };
    QHash<QString, Entry> m_byExecutable;
};

} // namespace pw::platform
