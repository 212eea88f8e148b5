#include "services/quick_actions_service.h"

#include "services/atomic_write.h"
#include "services/command_runner.h"

#include <QDir>
#include <QFile>
#include <QThreadPool>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw {

void QuickActionsService::purgeRAM(const QString& root) {
    CommandRunner::startDetached(QStringLiteral("sync"), {});
    // Dropping a large cache takes a while; keep it off the caller's thread.
    const QString path = QDir::cleanPath(root + QStringLiteral("/proc/sys/vm/drop_caches"));
    QThreadPool::globalInstance()->start([path] {
        // Without blocking and only into a regular file (procfs knobs are):
        // a FIFO there would hold the pool, and the program's exit, for good.
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            writeAll(fd, QByteArrayView("3\n"));
        ::close(fd);
    });
}

void QuickActionsService::flushDNS() {
    CommandRunner::startDetached(QStringLiteral("resolvectl"), {QStringLiteral("flush-caches")});
    CommandRunner::startDetached(QStringLiteral("nscd"), {QStringLiteral("--invalidate=hosts")});
}

} // namespace pw
