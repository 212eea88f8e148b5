// A write that does not reach the disk is a failure: the CSV export, the
// settings file and the autostart entry on a file system with no room left.

#include "platform/fake/fake_sources.h"
#include "services/atomic_write.h"
#include "services/launch_at_login.h"
#include "services/log_line.h"
#include "services/preferences.h"
#include "services/system_stats_provider.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace pw;

namespace {

const QString kNoSpace = QStringLiteral("No space left on device");

// A small tmpfs filled to the last byte. Mounting takes root; elsewhere
// mounted() is false and the caller skips.
class FullFileSystem {
public:
    FullFileSystem() {
        if (::geteuid() != 0 || !m_dir.isValid())
            return;
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            "size=256k,mode=0755") == 0;
    }
    ~FullFileSystem() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

    // Takes all the room left but `spareBytes`.
    bool fill(qint64 spareBytes = 0) {
        QFile filler(m_dir.filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        filler.close();
        return spareBytes == 0 || filler.resize(filler.size() - spareBytes);
    }
    QStringList entries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

struct Log {
    QStringList lines;
    Log() {
        setLogSink([this](const QString& line) { lines << line; });
    }
    ~Log() { setLogSink({}); }
};

} // namespace

class TestFailedWrites : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theSystemsWordsForAShortWrite() {
        // Works unprivileged: /dev/full answers every write with ENOSPC.
        const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            QSKIP("no /dev/full");
        const std::optional<QString> error = writeAll(fd, QByteArrayView("Timestamp,CPUUsage%\n"));
        ::close(fd);
        QCOMPARE(error, std::optional<QString>(kNoSpace));
    }

    void csvExportOnAFullDisk() {
        FullFileSystem disk;
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        QVERIFY(disk.fill());
        Log log;
        qputenv("TMPDIR", QFile::encodeName(disk.path()));
        platform::FakeSources fake;
        SystemStatsProvider store(fake.sources(), nullptr, [] { return 90.0; });
        QVERIFY(!store.exportHistoryToCSV());
        qunsetenv("TMPDIR");
        QCOMPARE(log.lines, QStringList{QStringLiteral("Failed to write CSV: ") + kNoSpace});
        QCOMPARE(disk.entries(), QStringList{QStringLiteral("filler")});
    }

    void aWriteThatFitsInPartIsNoWriteAtAll() {
        FullFileSystem disk;
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        QVERIFY(disk.fill(8192));
        const QString path = disk.path() + QStringLiteral("/report.csv");
        QCOMPARE(writeFileAtomically(path, QByteArray(64 * 1024, 'y')),
                 std::optional<QString>(kNoSpace));
        QCOMPARE(disk.entries(), QStringList{QStringLiteral("filler")});
        // With room, the same call writes the file whole.
        QVERIFY(QFile::remove(disk.path() + QStringLiteral("/filler")));
        QCOMPARE(writeFileAtomically(path, QByteArray(64 * 1024, 'y')), std::nullopt);
        QCOMPARE(QFileInfo(path).size(), 64 * 1024);
    }

    void settingsAndAutostartOnAFullDisk() {
        FullFileSystem disk;
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        const QString ini = disk.path() + QStringLiteral("/Pulsewick.ini");
        const QByteArray before = "[General]\ncpuAlertThreshold=80\nshowFullProcessPath=true\n";
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        }
        QVERIFY(disk.fill());
        Log log;
        Preferences prefs(ini);
        QCOMPARE(prefs.cpuAlertThreshold(), 80.0);
        prefs.setCpuAlertThreshold(75.0);
        // The value holds for this run; the file keeps what it had.
        QCOMPARE(prefs.cpuAlertThreshold(), 75.0);
        QCOMPARE(log.lines, QStringList{QStringLiteral("Failed to write settings: ") + kNoSpace});
        QFile file(ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);

        LaunchAtLogin autostart(disk.path() + QStringLiteral("/autostart"),
                                QStringLiteral("/usr/bin/pulsewick"));
        QVERIFY(!autostart.setEnabled(true));
        QCOMPARE(autostart.lastError(), kNoSpace);
        QVERIFY(!autostart.enabled());
        QVERIFY(!QFileInfo::exists(autostart.entryPath()));
    }
};

QTEST_GUILESS_MAIN(TestFailedWrites)
#include "tst_failed_writes.moc"
