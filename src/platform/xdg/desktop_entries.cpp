#include "platform/xdg/desktop_entries.h"

#include "platform/linux/file_reader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace pw::platform {
namespace {

// The escapes of the format's string type: \s \n \t \r \\.
QString unescapeString(QStringView value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            // Not a string escape: left for the Exec quoting rules.
            out += c;
            out += next;
        }
    }
    return out;
}

// The words of an Exec value: blanks separate, double quotes group, and a
// backslash takes the next character literally.
QStringList execWords(QStringView exec) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == u'\\' && i + 1 < exec.size()) {
            word += exec[++i];
            inWord = true;
        } else if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == u' ' || c == u'\t' || c == u'\n')) {
            if (inWord) {
                words.append(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.append(word);
    }
    return words;
}

// An absolute program as it stands; a bare name through the search path.
QString resolveProgram(const QString& program, const QStringList& searchPath) {
    if (program.isEmpty()) {
        return {};
    }
    if (program.contains(u'/')) {
        if (!QDir::isAbsolutePath(program)) {
            return {};
        }
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? QDir::cleanPath(program) : QString();
    }
    for (const QString& dir : searchPath) {
        if (dir.isEmpty()) {
            continue;
        }
        const QString candidate = dir + u'/' + program;
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable()) {
            return QDir::cleanPath(candidate);
        }
    }
    return {};
}

// Desktop files are a few kilobytes; the counter-file rules (regular files
// only, at most a megabyte, never blocking) suit them as well.
std::optional<QString> readSmallTextFile(const QString& path, std::string& buffer) {
    const auto text = readFile(QFile::encodeName(path).toStdString(), buffer);
    if (!text) {
        return std::nullopt;
    }
    return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

} // namespace

std::optional<DesktopEntryFields> parseDesktopEntry(QStringView text) {
    std::optional<DesktopEntryFields> fields;
    bool inGroup = false;
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            inGroup = line == u"[Desktop Entry]";
            // A repeated group is malformed; the first one counts.
            if (inGroup && fields) {
                inGroup = false;
            } else if (inGroup) {
                fields.emplace();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inGroup || eq <= 0) {
            continue;
        }
        const QStringView key = line.left(eq).trimmed();
        const QString value = unescapeString(line.mid(eq + 1).trimmed());
        if (key == u"Type") {
            fields->type = value;
        } else if (key == u"Exec") {
            fields->exec = value;
        } else if (key == u"TryExec") {
            fields->tryExec = value;
        } else if (key == u"Icon") {
            fields->icon = value;
        } else if (key == u"NoDisplay") {
            fields->noDisplay = value == u"true";
        } else if (key == u"Hidden") {
            fields->hidden = value == u"true";
        }
    }
    return fields;
}

QString execProgram(QStringView exec) {
    const QStringList words = execWords(exec);
    qsizetype i = 0;
    if (i < words.size() && QFileInfo(words[i]).fileName() == u"env") {
        ++i;
        while (i < words.size() && (words[i].contains(u'=') || words[i].startsWith(u'-'))) {
            // These two options take the next word as their value.
            const bool takesValue = words[i] == u"-u" || words[i] == u"-C";
            i += takesValue ? 2 : 1;
        }
    }
    return i < words.size() ? words[i] : QString();
}

QStringList applicationDirectories(const QString& dataHome, const QString& dataDirs,
                                   const QString& home) {
    QStringList bases;
    if (!dataHome.isEmpty()) {
        bases.append(dataHome);
    } else if (!home.isEmpty()) {
        bases.append(home + QStringLiteral("/.local/share"));
    }
    const QString dirs =
        dataDirs.isEmpty() ? QStringLiteral("/usr/local/share:/usr/share") : dataDirs;
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        bases.append(dir);
    }
    QStringList out;
    for (const QString& base : bases) {
        const QString dir = QDir::cleanPath(base + QStringLiteral("/applications"));
        if (!out.contains(dir)) {
            out.append(dir);
        }
    }
    return out;
}

void DesktopEntryIndex::add(const QString& executable, const DesktopApplication& app,
                            bool visible) {
    // Several entries may run one program (a browser and its private-window
    // launcher); the first visible one in folder order wins.
    auto it = m_byExecutable.find(executable);
    if (it == m_byExecutable.end()) {
        m_byExecutable.insert(executable, Entry{app, visible});
    } else if (!it->visible && visible) {
        *it = Entry{app, visible};
    }
}

DesktopEntryIndex DesktopEntryIndex::scan(const QStringList& applicationDirs,
                                          const QStringList& searchPath) {
    DesktopEntryIndex index;
    QSet<QString> seenIds;
    std::string buffer;
    for (const QString& dir : applicationDirs) {
        QStringList files;
        QDirIterator it(dir, {QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            files.append(it.next());
        }
        std::sort(files.begin(), files.end());
        const QDir base(dir);
        for (const QString& file : files) {
            const QString id = base.relativeFilePath(file).replace(u'/', u'-');
            if (seenIds.contains(id)) {
                continue;
            }
            seenIds.insert(id);
            const std::optional<QString> text = readSmallTextFile(file, buffer);
            if (!text) {
                continue;
            }
            const std::optional<DesktopEntryFields> fields = parseDesktopEntry(*text);
            if (!fields || fields->hidden || fields->type != u"Application") {
                continue;
            }
            QStringList programs;
            if (!fields->tryExec.isEmpty()) {
                const QString tryExec = resolveProgram(fields->tryExec, searchPath);
                if (tryExec.isEmpty()) {
                    continue; // not installed
                }
                programs.append(tryExec);
            }
            const QString exec = resolveProgram(execProgram(fields->exec), searchPath);
            if (!exec.isEmpty()) {
                programs.append(exec);
            }
            const DesktopApplication app{QFileInfo(file).absoluteFilePath(), fields->icon};
            for (const QString& program : programs) {
                index.add(program, app, !fields->noDisplay);
                const QString canonical = QFileInfo(program).canonicalFilePath();
                if (!canonical.isEmpty() && canonical != program) {
                    index.add(canonical, app, !fields->noDisplay);
                }
            }
        }
    }
    return index;
}

DesktopEntryIndex DesktopEntryIndex::scanEnvironment() {
    const QString path =
        qEnvironmentVariable("PATH", QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    return scan(applicationDirectories(qEnvironmentVariable("XDG_DATA_HOME"),
                                       qEnvironmentVariable("XDG_DATA_DIRS"),
                                       qEnvironmentVariable("HOME")),
                path.split(u':', Qt::SkipEmptyParts));
}

std::optional<DesktopApplication> DesktopEntryIndex::find(const QString& executablePath) const {
    if (executablePath.isEmpty()) {
        return std::nullopt;
    }
    auto it = m_byExecutable.constFind(QDir::cleanPath(executablePath));
    if (it == m_byExecutable.constEnd()) {
        const QString canonical = QFileInfo(executablePath).canonicalFilePath();
        if (canonical.isEmpty()) {
            return std::nullopt;
        }
        it = m_byExecutable.constFind(canonical);
        if (it == m_byExecutable.constEnd()) {
            return std::nullopt;
        }
    }
    return it->app;
}

} // namespace pw::platform
