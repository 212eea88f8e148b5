#pragma once

#include <QString>

namespace pw {

// One-shot maintenance actions. They start their tools detached and return at
// once; a tool that cannot start, or a right the user lacks, is ignored.
class QuickActionsService {
public:
    // Flushes dirty pages (`sync`), then asks the kernel to drop its clean
    // page, dentry and inode caches through <root>/proc/sys/vm/drop_caches,
    // which only root may write.
    static void purgeRAM(const QString& root = QStringLiteral("/"));
    // `resolvectl flush-caches`, then `nscd --invalidate=hosts` whether or not
    // the first one started.
    static void flushDNS();
};

} // namespace pw
