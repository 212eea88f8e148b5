// Counter files that are not what they claim: FIFOs, endless devices, huge
// sparse files and folders in their place. Every read must return at once
// with nothing, report the file once per spell, and never grow without bound.
// A read that blocks hangs this test until CTest's timeout fails it.

#include "fixture_tree.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_sources.h"
#include "platform/linux/refused_files.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pw::platform;

namespace {

// Replaces whatever is at `path` (opening a FIFO to write would block).
bool replaceFile(const QString& path, const QByteArray& content) {
    QFile::remove(path);
    return writeFile(path, content);
}

// Puts something hostile where `path` is.
bool makeFifo(const QString& path) {
    QFile::remove(path);
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}
bool linkToZero(const QString& path) {
    QFile::remove(path);
    return QFile::link(QStringLiteral("/dev/zero"), path);
}
bool makeSparse(const QString& path, qint64 size) {
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}
bool makeDirectory(const QString& path) {
    QFile::remove(path);
    return QDir().mkpath(path);
}

struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() {
        setRefusedFileLog([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { setRefusedFileLog({}); }
    std::size_t mentioning(const QString& path) const {
        const std::string p = path.toStdString();
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [&](const std::string& l) { return l.find(p) != l.npos; }));
    }
};

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyReaderRefusesWhatIsNotARegularFile() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        const QString zero = dir.filePath(QStringLiteral("zero"));
        const QString sparse = dir.filePath(QStringLiteral("sparse"));
        const QString folder = dir.filePath(QStringLiteral("folder"));
        QVERIFY(makeFifo(fifo) && linkToZero(zero) && makeDirectory(folder));
        QVERIFY(makeSparse(sparse, 2LL << 30));
        LogCapture log;
        std::string buffer;
        for (const QString& path : {fifo, zero, sparse, folder}) {
            const std::string p = path.toStdString();
            QVERIFY2(!readFile(p, buffer), qPrintable(path));
            bool truncated = false;
            const auto prefix = readFilePrefix(p, buffer, 4096, truncated);
            // A huge regular file may be read in part; nothing else may be read.
            QCOMPARE(prefix.has_value(), path == sparse);
            const int dirFd = ::open(QFile::encodeName(dir.path()).constData(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            QVERIFY(!readProcFileAt(dirFd, QFile::encodeName(QFileInfo(path).fileName()), buffer));
            ::close(dirFd);
            QVERIFY(buffer.size() <= kMaxFileBytes + 1);
            // The good prefix read of the sparse file ended its first spell.
            QCOMPARE(log.mentioning(path), std::size_t(path == sparse ? 2 : 1));
        }
        ReadFailure why = ReadFailure::Missing;
        QVERIFY(!readFileQuietly(fifo.toStdString(), buffer, 1024, why));
        QCOMPARE(why, ReadFailure::NotRegularFile);
        QVERIFY(!readFileQuietly(sparse.toStdString(), buffer, 1024, why));
        QCOMPARE(why, ReadFailure::TooLong);
        QVERIFY(!readFileQuietly(dir.filePath("absent").toStdString(), buffer, 1024, why));
        QCOMPARE(why, ReadFailure::Missing);
    }

    void theBoundIsExactAndProcFilesThatGrowAreCaught() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big"));
        LogCapture log;
        std::string buffer;
        QVERIFY(replaceFile(path, QByteArray(kMaxFileBytes, 'x')));
        const auto whole = readFile(path.toStdString(), buffer);
        QVERIFY(whole && whole->size() == kMaxFileBytes);
        QVERIFY(replaceFile(path, QByteArray(kMaxFileBytes + 1, 'x')));
        QVERIFY(!readFile(path.toStdString(), buffer));
        QCOMPARE(log.lines.size(), std::size_t(1));
    }

    void oneLinePerSpell() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stat"));
        LogCapture log;
        std::string buffer;
        const std::size_t before = openRefusalSpells();
        QVERIFY(makeFifo(path));
        for (int i = 0; i < 5; ++i)
            QVERIFY(!readFile(path.toStdString(), buffer));
        QCOMPARE(log.lines.size(), std::size_t(1));
        QVERIFY(log.lines[0].find("is not a regular file") != std::string::npos);
        // Fine again: the spell ends quietly; broken once more: a new line.
        QVERIFY(replaceFile(path, "cpu0 1 2 3 4\n"));
        QVERIFY(readFile(path.toStdString(), buffer));
        QCOMPARE(openRefusalSpells(), before);
        QVERIFY(makeFifo(path));
        QVERIFY(!readFile(path.toStdString(), buffer));
        QVERIFY(!readFile(path.toStdString(), buffer));
        QCOMPARE(log.lines.size(), std::size_t(2));
        QVERIFY(makeDirectory(path + QStringLiteral(".d")));
        QVERIFY(replaceFile(path, "ok\n"));
        QVERIFY(readFile(path.toStdString(), buffer));
        // Spells of files never seen again stay bounded in number and in lines.
        for (int i = 0; i < 1000; ++i)
            reportRefusedFile("/proc/" + std::to_string(i) + "/cmdline", Refusal::TooLong);
        QVERIFY(log.lines.size() <= 2 + 128);
        for (int i = 0; i < 1000; ++i)
            reportReadableFile("/proc/" + std::to_string(i) + "/cmdline");
        QCOMPARE(openRefusalSpells(), before);
    }

    void directoryListingsAreBounded() {
        // Memory-backed when there is one: 65,537 files on a disk take seconds.
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/")
                                 : QDir::tempPath() + QLatin1Char('/');
        QTemporaryDir dir(base + QStringLiteral("pw-listing-XXXXXX"));
        for (std::size_t i = 0; i <= kMaxDirectoryEntries; ++i) {
            const QByteArray name = QFile::encodeName(dir.path()) + '/' + QByteArray::number(i);
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        LogCapture log;
        std::size_t visited = 0;
        QVERIFY(
            forEachDirectoryEntry(dir.path().toStdString(), [&](std::string_view) { ++visited; }));
        QCOMPARE(visited, kMaxDirectoryEntries);
        QCOMPARE(log.lines.size(), std::size_t(1));
    }

    void countersOverAHostileTreeAreUnknown() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        QVERIFY(makeFifo(root + "/proc/stat"));
        QVERIFY(linkToZero(root + "/proc/meminfo"));
        QVERIFY(makeSparse(root + "/proc/net/dev", 2LL << 30));
        QVERIFY(makeFifo(root + "/proc/net/tcp"));
        QVERIFY(makeDirectory(root + "/proc/net/tcp6"));
        QVERIFY(makeDirectory(root + "/proc/diskstats"));
        QVERIFY(makeFifo(root + "/sys/devices/system/cpu/online"));
        QDir(root + "/proc").mkpath(QStringLiteral("4242"));
        QVERIFY(makeFifo(root + "/proc/4242/stat"));
        LogCapture log;

        const Sources sources = makeLinuxSources(root.toStdString());
        QVERIFY(!sources.cpu->cpuTicks());
        QVERIFY(!sources.memory->memory());
        QVERIFY(!sources.network->interfaces());
        QVERIFY(!sources.storage->rootBlockDevice());
        QVERIFY(!sources.connections->established(3));
        const auto table = sources.processes->processTable();
        QVERIFY(table);
        QVERIFY(std::none_of(table->begin(), table->end(),
                             [](const ProcessStat& row) { return row.pid == 4242; }));
        // The topology still comes from the hybrid PMU lists.
        QCOMPARE(sources.cpu->coreTopology().performanceLevel1, std::optional<int>(8));
        QVERIFY(log.mentioning(root + "/proc/stat") == 1);
        QVERIFY(log.mentioning(root + "/proc/net/dev") == 1);
        QVERIFY(log.mentioning(QStringLiteral("4242/stat")) == 1);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostile_files.moc"
