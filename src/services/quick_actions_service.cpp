#include "services/quick_actions_service.h"

#include "services/command_runner.h"

#include <QDir>
#include <QFile>
#include <QThreadPool>

namespace pw {

void QuickActionsService::purgeRAM(const QString& root) {
    CommandRunner::startDetached(QStringLiteral("sync"), {});
    // Dropping a large cache takes a while; keep it off the caller's thread.
    const QString path = QDir::cleanPath(root + QStringLiteral("/proc/sys/vm/drop_caches"));
    QThreadPool::globalInstance()->start([path] {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
            file.write("3\n");
        }
    });
}

void QuickActionsService::flushDNS() {
    CommandRunner::startDetached(QStringLiteral("resolvectl"), {QStringLiteral("flush-caches")});
    CommandRunner::startDetached(QStringLiteral("nscd"), {QStringLiteral("--invalidate=hosts")});
}

} // namespace pw
