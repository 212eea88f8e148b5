#include "probe_test_support.h"
#include "services/quick_actions_service.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <sys/stat.h>

using pw::QuickActionsService;
using pw::test::EnvGuard;

namespace {

QStringList recorded(const QString& log) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

} // namespace

class TestQuickActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void purgeSyncsThenDropsCaches() {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("tools.log"));
        const QString vm = dir.filePath(QStringLiteral("root/proc/sys/vm"));
        QVERIFY(QDir().mkpath(vm));
        QFile caches(vm + QStringLiteral("/drop_caches"));
        QVERIFY(caches.open(QIODevice::WriteOnly));
        caches.close();
        EnvGuard path("PATH", pw::test::fakeToolsDir().toUtf8());
        EnvGuard toolsLog("PW_FAKE_TOOLS_LOG", log.toUtf8());

        QuickActionsService::purgeRAM(dir.filePath(QStringLiteral("root")));
        QuickActionsService::purgeRAM(dir.filePath(QStringLiteral("root")));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(log), (QStringList{"sync ", "sync "}), 10000);
        QThreadPool::globalInstance()->waitForDone();
        QVERIFY(caches.open(QIODevice::ReadOnly));
        QCOMPARE(caches.readAll(), QByteArray("3\n"));

        // A tree without the kernel file: nothing is created.
        QTemporaryDir bare;
        QuickActionsService::purgeRAM(bare.path());
        QTRY_COMPARE_WITH_TIMEOUT(recorded(log).size(), 3, 10000);
        QThreadPool::globalInstance()->waitForDone();
        QVERIFY(!QFile::exists(bare.filePath(QStringLiteral("proc/sys/vm/drop_caches"))));

        // A FIFO in its place: nothing is written, and nothing waits for a reader.
        QVERIFY(caches.remove());
        QCOMPARE(::mkfifo(QFile::encodeName(caches.fileName()).constData(), 0644), 0);
        QuickActionsService::purgeRAM(dir.filePath(QStringLiteral("root")));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(log).size(), 4, 10000);
        QThreadPool::globalInstance()->waitForDone();
    }

    void flushStartsBothTools() {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("tools.log"));
        EnvGuard toolsLog("PW_FAKE_TOOLS_LOG", log.toUtf8());
        {
            EnvGuard path("PATH", pw::test::fakeToolsDir().toUtf8());
            QuickActionsService::flushDNS();
            QTRY_COMPARE_WITH_TIMEOUT(
                recorded(log), (QStringList{"nscd --invalidate=hosts", "resolvectl flush-caches"}),
                10000);
        }
        // Without the first tool the second still starts.
        QTemporaryDir only;
        QVERIFY(QFile::link(pw::test::fakeToolsDir() + QStringLiteral("/nscd"),
                            only.filePath(QStringLiteral("nscd"))));
        QFile::remove(log);
        EnvGuard path("PATH", only.path().toUtf8());
        QuickActionsService::flushDNS();
        QTRY_COMPARE_WITH_TIMEOUT(recorded(log), (QStringList{"nscd --invalidate=hosts"}), 10000);
    }
};

QTEST_GUILESS_MAIN(TestQuickActions)
#include "tst_quick_actions.moc"
