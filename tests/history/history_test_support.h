#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

// Asks the sqlite3 program, as a user would, whether the store is sound.
inline QString integrityCheck(const QString& storePath) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {storePath, QStringLiteral("PRAGMA integrity_check")});
    if (!sqlite.waitForFinished(30000))
        return QStringLiteral("sqlite3 did not finish");
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed() +
           QString::fromUtf8(sqlite.readAllStandardError()).trimmed();
}

// One value from the store through the sqlite3 program.
inline QString sqliteValue(const QString& storePath, const QString& sql) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {storePath, sql});
    sqlite.waitForFinished(30000);
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
}

// Files in `folder` whose names start with `prefix`.
inline QStringList filesStartingWith(const QString& folder, const QString& prefix) {
    return QDir(folder).entryList({prefix + QLatin1Char('*')}, QDir::Files, QDir::Name);
}

// A file of `bytes` where the store should be, as a disk fault might leave it.
inline bool writeDamagedStore(const QString& storePath, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(storePath).absolutePath());
    QFile file(storePath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
