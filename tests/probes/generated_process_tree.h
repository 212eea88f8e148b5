#pragma once

// Writes a /proc tree of many processes at run time, rather than checking in
// thousands of files.

#include "platform/fixture_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace pw::test {

// A scratch folder for a generated tree: in /dev/shm where there is one, since
// thousands of small files on a busy disk take seconds to create and remove.
inline std::unique_ptr<QTemporaryDir> scratchDir() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isDir() && shm.isWritable()) {
        auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/pulsewick-XXXXXX"));
        if (dir->isValid()) {
            return dir;
        }
    }
    return std::make_unique<QTemporaryDir>();
}

// The stat line of one process with the given utime and stime.
inline QByteArray statLine(int pid, const QByteArray& command, quint64 utime, quint64 stime) {
    return QByteArray::number(pid) + " (" + command + ") S 1 " + QByteArray::number(pid) +
           " 0 0 -1 4194560 500 0 3 0 " + QByteArray::number(utime) + ' ' +
           QByteArray::number(stime) + " 0 0 20 0 1 0 4242 1000000 200 18446744073709551615\n";
}


// Processes 1..count under <root>/proc, named "worker-<pid>", with an exe link
// to /usr/bin/worker-<pid>. Process p has used `ticksOf(p)` ticks.
template <typename TicksOf> bool writeProcessTree(const QString& root, int count, TicksOf ticksOf) {
    for (int pid = 1; pid <= count; ++pid) {
        const QString dir = root + QStringLiteral("/proc/") + QString::number(pid);
        const QByteArray name = "worker-" + QByteArray::number(pid);
        if (!QDir().mkpath(dir) ||
            !writeFile(dir + QStringLiteral("/stat"), statLine(pid, name, ticksOf(pid), 0)) ||
            !writeFile(dir + QStringLiteral("/cmdline"), "/usr/bin/" + name + '\0')) {
            return false;
        }
        const QString exe = dir + QStringLiteral("/exe");
        QFile::remove(exe);
        if (!QFile::link(QStringLiteral("/usr/bin/") + QString::fromLatin1(name), exe)) {
            return false;
        }
    }
    return true;
}

} // namespace pw::test
