#include "fixture_tree.h"
#include "platform/linux/linux_storage_source.h"
#include "platform/linux/storage_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

using StorageOn = SourceOn<LinuxStorageSource>;

// Name, mount point, device and kind of the root volume ("-" if not read).
QString identity(StorageOn& storage) {
    const auto v = storage.source.rootVolume();
    if (!v)
        return QStringLiteral("-");
    return QStringLiteral("%1|%2|%3|%4")
        .arg(QString::fromStdString(v->name), QString::fromStdString(v->mountPoint),
             QString::fromStdString(v->device),
             v->rotational ? (*v->rotational ? "HDD" : "SSD") : "?");
}

} // namespace

class TestStorageSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void diskstatsRows() {
        const auto text = "   8       0 sda 100 0 2000 10 50 0 4000 20 0 30 30 0 0 0 0\n"
                          "   8       1 sda1 90 0 1800 9 40 0 3600 18 0 27 27 0 0 0 0\n"
                          "   8      16 sdb 1 2\n"sv;
        const auto sda1 = parseDiskstats(text, "sda1");
        QVERIFY(sda1);
        QCOMPARE(sda1->sectorsRead, std::uint64_t(1800));
        QCOMPARE(sda1->sectorsWritten, std::uint64_t(3600));
        // "sda" is a prefix of "sda1": only the whole name matches.
        QCOMPARE(parseDiskstats(text, "sda")->sectorsRead, std::uint64_t(2000));
        QVERIFY(!parseDiskstats(text, "sdb"));
        QVERIFY(!parseDiskstats(text, "nvme0n1"));
    }

    void rootMountAndEscapes() {
        const auto text =
            "24 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
            "26 24 0:23 / /proc rw,nosuid shared:12 - proc proc rw\n"
            "90 24 0:50 / / rw master:1 shared:9 - overlay my\\040root rw,lowerdir=/a\n"sv;
        const auto mount = parseRootMount(text);
        QVERIFY(mount);
        // The later mount stacks over the first.
        QCOMPARE(mount->major, 0);
        QCOMPARE(mount->source, std::string("my root"));
        QCOMPARE(mount->fsType, std::string("overlay"));
        QVERIFY(!parseRootMount("26 24 0:23 / /proc rw - proc proc rw\n"sv));
        QVERIFY(!parseRootMount("24 1 259:2 / / rw shared:1\n"sv)); // no separator
        QVERIFY(!parseRootMount("24 1 -3:2 / / rw - ext4 /dev/sda1 rw\n"sv));
        QCOMPARE(decodeEscapes("Debian\\x20Root\\x2"sv), std::string("Debian Root\\x2"));
    }

    void rootVolumeOfEachMachine() {
        StorageOn laptop(fixturePath("intel-hybrid-laptop"));
        QCOMPARE(identity(laptop), QStringLiteral("Debian Root|/|nvme0n1p2|SSD"));
        const auto volume = laptop.source.rootVolume();
        QVERIFY(volume->totalBytes > 0 && volume->availableBytes <= volume->totalBytes);
        const auto block = laptop.source.rootBlockDevice();
        QVERIFY(block);
        QCOMPARE(block->device, std::string("nvme0n1p2"));
        QVERIFY(block->sectorsRead > 0 && block->sectorsWritten > 0);

        // A device-mapper root has no label: it is named by its mount point.
        StorageOn desktop(fixturePath("amd-desktop"));
        QCOMPARE(identity(desktop), QStringLiteral("/|/|dm-0|SSD"));
        QVERIFY(desktop.source.rootBlockDevice());
        StorageOn vm(fixturePath("bare-vm"));
        QVERIFY(identity(vm).startsWith("cloudimg-rootfs|") && identity(vm).endsWith("|HDD"));
        StorageOn arm(fixturePath("arm-biglittle"));
        QVERIFY(identity(arm).startsWith("rootfs|/|mmcblk0p2|"));

        // An empty tree: statvfs still answers, nothing names the volume.
        QTemporaryDir empty;
        StorageOn nothing(empty.path().toStdString());
        QVERIFY(identity(nothing).startsWith("/|/||"));
        QVERIFY(!nothing.source.rootBlockDevice());
    }

    void identityFollowsMountinfoAtTheRescan() {
        QTemporaryDir dir;
        const QString root = copyFixture("arm-biglittle", dir);
        QVERIFY(!root.isEmpty());
        StorageOn storage(root.toStdString());
        QCOMPARE(storage.source.rootVolume()->device, std::string("mmcblk0p2"));

        QFile original(root + "/proc/self/mountinfo");
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray table = original.readAll();

        // A truncated mountinfo: the volume keeps its space, loses its identity.
        QVERIFY(writeFile(root + "/proc/self/mountinfo", "22 1 179:2 / "));
        QCOMPARE(storage.source.rootVolume()->device, std::string("mmcblk0p2"));
        storage.clock->advance(10);
        QVERIFY(identity(storage).startsWith("/|/||"));
        QVERIFY(!storage.source.rootBlockDevice());

        // The table as it was before: the device is found again, not taken
        // for the table last looked up.
        QVERIFY(writeFile(root + "/proc/self/mountinfo", table));
        storage.clock->advance(10);
        QCOMPARE(storage.source.rootVolume()->device, std::string("mmcblk0p2"));
    }
};

QTEST_GUILESS_MAIN(TestStorageSource)
#include "tst_storage_source.moc"
