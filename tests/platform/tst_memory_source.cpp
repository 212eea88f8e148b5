#include "fixture_tree.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_memory_source.h"
#include "platform/linux/memory_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

constexpr std::uint64_t KiB = 1024;

using MemoryOn = SourceOn<LinuxMemorySource>;

using UsedAndTotal = std::optional<std::pair<std::uint64_t, std::uint64_t>>;

UsedAndTotal usedAndTotal(const std::optional<SwapCounters>& swap) {
    return swap ? UsedAndTotal({swap->usedBytes, swap->totalBytes}) : std::nullopt;
}

} // namespace

class TestMemorySource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void meminfoInBytesAndMissingFields() {
        const auto full = parseMeminfo("MemTotal:       16000000 kB\n"
                                       "MemFree:         1000000 kB\n"
                                       "SwapTotal:       2000000 kB\n"
                                       "SwapFree:        1500000 kB\n"
                                       "AnonPages:       3000000 kB\n"
                                       "SUnreclaim:       100000 kB\n"
                                       "Zswap:              5000 kB\n"
                                       "HugePages_Total:       0\n"sv);
        QCOMPARE(full.memTotal, std::optional<std::uint64_t>(16000000ull * 1024));
        QCOMPARE(full.anonPages, std::optional<std::uint64_t>(3000000ull * 1024));
        QCOMPARE(full.zswap, std::optional<std::uint64_t>(5000ull * 1024));
        QCOMPARE(full.swapFree, std::optional<std::uint64_t>(1500000ull * 1024));

        // Zswapped must not be taken for Zswap, nor Active(anon) for AnonPages.
        const auto sparse = parseMeminfo("Active(anon):  77 kB\n"
                                         "Zswapped:      88 kB\n"
                                         "MemTotal: garbage kB\n"
                                         "SwapTotal:     12 MB\n"
                                         "no colon here\n"
                                         "PageTables:    9 kB"sv);
        QVERIFY(!sparse.memTotal);
        QVERIFY(!sparse.anonPages);
        QVERIFY(!sparse.zswap);
        QVERIFY(!sparse.swapTotal); // unknown unit
        QCOMPARE(sparse.pageTables, std::optional<std::uint64_t>(9 * 1024));

        QCOMPARE(parseZramMemUsed("  1073741824   268435456   283115520        0 "sv),
                 std::optional<std::uint64_t>(283115520));
        QVERIFY(!parseZramMemUsed("1 2"sv));
    }

    void memoryAndSwapOfEachMachine() {
        MemoryOn laptop(fixturePath("intel-hybrid-laptop"));
        const auto memory = laptop.source.memory();
        QVERIFY(memory);
        QCOMPARE(memory->totalBytes, 32532580 * KiB);
        QCOMPARE(memory->wiredBytes, (300224 + 24576 + 65536 + 131072) * KiB);
        QCOMPARE(memory->appBytes, 4830176 * KiB);
        QCOMPARE(memory->compressedBytes, std::uint64_t(0));
        QCOMPARE(usedAndTotal(laptop.source.swap()),
                 UsedAndTotal({(8388604 - 8126460) * KiB, 8388604 * KiB}));

        // No Zswap line on this kernel, no swap configured.
        MemoryOn arm(fixturePath("arm-biglittle"));
        QCOMPARE(arm.source.memory()->compressedBytes, std::uint64_t(0));
        QCOMPARE(usedAndTotal(arm.source.swap()), UsedAndTotal({0, 0}));

        // zram's own use and zswap's pool both hold compressed pages.
        MemoryOn zram(fixturePath("zram-zswap"));
        const auto compressed = zram.source.memory();
        QVERIFY(compressed);
        QCOMPARE(compressed->compressedBytes, 65536 * KiB + 283115520 + 20971520);
        QCOMPARE(compressed->wiredBytes, (100000 + 12000 + 40000 + 4096) * KiB);
        QCOMPARE(usedAndTotal(zram.source.swap()),
                 UsedAndTotal({(12194300 - 10097148) * KiB, 12194300 * KiB}));
    }

    void swapComesFromTheSameReadOnce() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(!root.isEmpty());
        MemoryOn memory(root.toStdString());
        QVERIFY(memory.source.memory());
        const auto opened = openedFileCount();
        QVERIFY(memory.source.swap());
        QCOMPARE(openedFileCount(), opened);

        // Later asks, or one after the cycle's moment, read again.
        QVERIFY(writeFile(root + "/proc/meminfo", "MemTotal: 100 kB\nSwapTotal: 50 kB\n"
                                                  "SwapFree: 20 kB\n"));
        QCOMPARE(usedAndTotal(memory.source.swap()), UsedAndTotal({30 * KiB, 50 * KiB}));
        QCOMPARE(memory.source.memory()->totalBytes, 100 * KiB);
        QVERIFY(writeFile(root + "/proc/meminfo", "MemTotal: 100 kB\nSwapTotal: 60 kB\n"
                                                  "SwapFree: 20 kB\n"));
        memory.clock->advance(1);
        QCOMPARE(usedAndTotal(memory.source.swap()), UsedAndTotal({40 * KiB, 60 * KiB}));
    }

    void brokenFilesGiveAbsent() {
        QTemporaryDir dir;
        const QString root = copyFixture("intel-hybrid-laptop", dir);
        QVERIFY(writeFile(root + "/proc/meminfo", ""));
        MemoryOn memory(root.toStdString());
        QVERIFY(!memory.source.memory());
        QVERIFY(!memory.source.swap());

        MemoryOn nothing(dir.path().toStdString() + "/nothing-here");
        QVERIFY(!nothing.source.memory());
        QVERIFY(!nothing.source.swap());
    }
};

QTEST_GUILESS_MAIN(TestMemorySource)
#include "tst_memory_source.moc"
