#include "platform/linux/proc_parsers.h"

#include <QTest>

using namespace pw::platform;
using namespace std::string_view_literals;

class TestProcParsers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cpuTicksFoldStatesAndKeepKernelNumbers() {
        const auto text = "cpu  900 90 300 9000 30 3 6 9 120 12\n"
                          "cpu0 500 50 100 4000 10 1 2 3 100 10\n"
                          "cpu1 400 40 200 5000 20 2 4 6 20 2\n"
                          "cpu3 7 8 9 10 1 1 1 1 9 9\n" // cpu2 is offline; guest above user
                          "intr 123 4 5\n"
                          "ctxt 99\n"sv;
        const auto rows = parseCpuTicks(text);
        QVERIFY(rows);
        QCOMPARE(rows->size(), std::size_t(3));
        const CpuTicks cpu0{0, 400, 106, 4010, 40};
        QVERIFY((*rows)[0] == cpu0);
        QCOMPARE((*rows)[1].cpu, 1);
        QCOMPARE((*rows)[1].system, std::uint64_t(212));
        QCOMPARE((*rows)[2].cpu, 3);
        QCOMPARE((*rows)[2].user, std::uint64_t(0)); // clamped, not wrapped
        QCOMPARE((*rows)[2].nice, std::uint64_t(0));

        // A cut-off or garbled row is dropped alone.
        const auto broken = parseCpuTicks("cpu0 1 2 3 4 5 6 7 8 9 10\n"
                                          "cpu1 1 2 3 4 5\n"
                                          "cpu2 1 2 x 4 5 6 7 8 9 10\n"
                                          "cpuX 1 2 3 4 5 6 7 8 9 10\n"
                                          "cpu3 1 2 3 4 5 6 7 8 9 10"sv);
        QVERIFY(broken);
        QCOMPARE(broken->size(), std::size_t(2));
        QCOMPARE((*broken)[1].cpu, 3);

        QVERIFY(!parseCpuTicks(""sv));
        QVERIFY(!parseCpuTicks("cpu  1 2 3 4 5 6 7 8 9 10\nintr 1\n"sv));
        QVERIFY(!parseCpuTicks("\0\0\0garbage"sv));
    }

    void cpuList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QList<int>>("cpus");
        QList<int> sixteenAndTwenty;
        for (int i = 0; i <= 15; ++i) {
            sixteenAndTwenty << i;
        }
        sixteenAndTwenty << 20;
        QTest::newRow("ranges") << "0-15,20\n" << true << sixteenAndTwenty;
        QTest::newRow("single") << "0" << true << QList<int>{0};
        QTest::newRow("hole") << "0-1,3" << true << QList<int>{0, 1, 3};
        QTest::newRow("empty") << "" << true << QList<int>{};
        QTest::newRow("only newline") << "\n" << true << QList<int>{};
        QTest::newRow("words") << "all" << false << QList<int>{};
        QTest::newRow("reversed") << "7-3" << false << QList<int>{};
        QTest::newRow("double comma") << "1,,2" << false << QList<int>{};
        QTest::newRow("negative") << "-1" << false << QList<int>{};
        QTest::newRow("open range") << "4-" << false << QList<int>{};
        QTest::newRow("absurd") << "0-2000000000" << false << QList<int>{};
    }
    void cpuList() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QList<int>, cpus);
        const std::string utf8 = text.toStdString();
        const auto parsed = parseCpuList(utf8);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(QList<int>(parsed->begin(), parsed->end()), cpus);
        }
    }

    void meminfoInBytesAndMissingFields() {
        const auto full = parseMeminfo("MemTotal:       16000000 kB\n"
                                       "MemFree:         1000000 kB\n"
                                       "SwapTotal:       2000000 kB\n"
                                       "SwapFree:        1500000 kB\n"
                                       "AnonPages:       3000000 kB\n"
                                       "SUnreclaim:       100000 kB\n"
                                       "KernelStack:       20000 kB\n"
                                       "PageTables:        30000 kB\n"
                                       "Unevictable:        4000 kB\n"
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
        QVERIFY(!parseMeminfo(""sv).memTotal);
    }

    void netDevRows() {
        const auto text =
            "Inter-|   Receive                            |  Transmit\n"
            " face |bytes    packets errs drop fifo frame compressed multicast|bytes\n"
            "    lo:    3267      29    0    0    0     0          0         0     "
            "3267      29    0    0    0     0       0          0\n"
            "eth0.100: 18446744073709551615 1 0 0 0 0 0 0 42 1 0 0 0 0 0 0\n"
            "  odd:name:123 1 0 0 0 0 0 0 456 1 0 0 0 0 0 0\n"
            "  cut0: 1 2 3 4 5\n"
            "  bad0: 1 2 3 4 5 6 7 8 x 1 0 0 0 0 0 0\n"
            "      : 1 2 3 4 5 6 7 8 9 1 0 0 0 0 0 0\n"
            "no separator at all\n"sv;
        const auto rows = parseNetDev(text);
        QVERIFY(rows);
        QCOMPARE(rows->size(), std::size_t(3));
        QCOMPARE((*rows)[0].name, std::string("lo"));
        QCOMPARE((*rows)[0].receivedBytes, std::uint64_t(3267));
        QCOMPARE((*rows)[0].sentBytes, std::uint64_t(3267));
        QCOMPARE((*rows)[1].name, std::string("eth0.100"));
        QCOMPARE((*rows)[1].receivedBytes, UINT64_MAX); // 64-bit counters
        QCOMPARE((*rows)[1].sentBytes, std::uint64_t(42));
        QCOMPARE((*rows)[2].name, std::string("odd:name"));
        QCOMPARE((*rows)[2].receivedBytes, std::uint64_t(123));
        QCOMPARE((*rows)[2].sentBytes, std::uint64_t(456));

        const auto headerOnly = parseNetDev("Inter-| a | b\n face |x|y\n"sv);
        QVERIFY(headerOnly);
        QVERIFY(headerOnly->empty());
        QVERIFY(!parseNetDev(""sv));
        QVERIFY(!parseNetDev("  lo: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"sv));
    }

    void processStatNamesAndMalformedRows() {
        const auto tail = " 1 2 3 4 5 6 7 8 9 10 11 12 13 20 0 1 0 42 1000 200\n"sv;
        const auto stat = [&](std::string_view head) {
            return parseProcessStat(std::string(head) + std::string(tail));
        };
        // ") S" inside the name must not end it early: the last ')' does.
        auto odd = parseProcessStat("42 ((a) (b))) R 1 2 3 4 5 6 7 8 9 10 300 45 0 0 20 0\n"sv);
        QVERIFY(odd);
        QCOMPARE(odd->pid, 42);
        QCOMPARE(odd->command, std::string("(a) (b))"));
        QCOMPARE(odd->cpuTicks, std::uint64_t(345));

        auto blanks = parseProcessStat("7 (my ) S x) name) S 1 2 3 4 5 6 7 8 9 10 1 2\n"sv);
        QVERIFY(blanks);
        QCOMPARE(blanks->command, std::string("my ) S x) name"));
        QCOMPARE(blanks->cpuTicks, std::uint64_t(3));

        auto kthread = parseProcessStat("57 (kworker/0:1-events) I 2 0 0 0 -1 69238880 0 0 0 0 "
                                        "0 912 0 0 20 0 1 0 48 0 0\n"sv);
        QVERIFY(kthread);
        QCOMPARE(kthread->command, std::string("kworker/0:1-events"));
        QCOMPARE(kthread->cpuTicks, std::uint64_t(912));

        auto empty = parseProcessStat("9 () S 1 2 3 4 5 6 7 8 9 10 0 0"sv);
        QVERIFY(empty);
        QCOMPARE(empty->command, std::string());

        QVERIFY(!parseProcessStat(""sv));
        QVERIFY(!parseProcessStat("3000 (broken) S 1 3000 3000 0 -1 4194560 12"sv));
        QVERIFY(!parseProcessStat("3000 (no close S 1 2 3 4 5 6 7 8 9 10 11 12"sv));
        QVERIFY(!parseProcessStat("x (name) S 1 2 3 4 5 6 7 8 9 10 11 12"sv));
        QVERIFY(!parseProcessStat(") 1 (name S 1 2 3 4 5 6 7 8 9 10 11 12"sv));
        QVERIFY(!parseProcessStat("5 (name) S 1 2 3 4 5 6 7 8 9 10 1x 12"sv));
        QVERIFY(!parseProcessStat("5 (name) SS 1 2 3 4 5 6 7 8 9 10 11 12"sv));
        QVERIFY(stat("5 (name) S"));
        QVERIFY(!stat("-5 (name) S"));
    }

    void cmdlineAndExecutableText() {
        QCOMPARE(parseCmdline("/bin/sh\0-c\0echo hi\0"sv),
                 (std::vector<std::string>{"/bin/sh", "-c", "echo hi"}));
        QCOMPARE(parseCmdline("a\0\0b\0"sv), (std::vector<std::string>{"a", "", "b"}));
        // setproctitle() style: one string, no terminating NUL.
        QCOMPARE(parseCmdline("nginx: worker process"sv),
                 (std::vector<std::string>{"nginx: worker process"}));
        QVERIFY(parseCmdline(""sv).empty());

        QCOMPARE(withoutDeletedMark("/usr/lib/firefox/firefox (deleted)"sv),
                 "/usr/lib/firefox/firefox"sv);
        QCOMPARE(withoutDeletedMark("/opt/app (deleted) copy"sv), "/opt/app (deleted) copy"sv);
        QCOMPARE(withoutDeletedMark(" (deleted)"sv), ""sv);
    }

    void sysfsValues() {
        const auto supply = parsePowerSupplyUevent("POWER_SUPPLY_NAME=BAT0\n"
                                                   "POWER_SUPPLY_TYPE=Battery\n"
                                                   "POWER_SUPPLY_STATUS=Not charging\n"
                                                   "POWER_SUPPLY_CAPACITY=73\n"
                                                   "POWER_SUPPLY_CURRENT_NOW=-1500000\n"
                                                   "POWER_SUPPLY_VOLTAGE_NOW=junk\n"
                                                   "POWER_SUPPLY_ENERGY_FULL_DESIGN=57000000\n"
                                                   "OTHER_CAPACITY=12\n"
                                                   "POWER_SUPPLY_CHARGE_NOW"sv);
        QCOMPARE(supply.type, std::string("Battery"));
        QCOMPARE(supply.status, std::string("Not charging"));
        QCOMPARE(supply.scope, std::string());
        QCOMPARE(supply.capacity, std::optional<std::int64_t>(73));
        QCOMPARE(supply.currentNow, std::optional<std::int64_t>(-1500000));
        QVERIFY(!supply.voltageNow);
        QVERIFY(!supply.energyFull); // ENERGY_FULL_DESIGN is another key
        QVERIFY(!supply.chargeNow);

        QCOMPARE(parseMilliCelsius("52000\n"sv), std::optional<double>(52.0));
        QCOMPARE(parseMilliCelsius("-7500"sv), std::optional<double>(-7.5));
        QVERIFY(!parseMilliCelsius(""sv));
        QVERIFY(!parseMilliCelsius("N/A\n"sv));

        QCOMPARE(parseZramMemUsed("  1073741824   268435456   283115520        0 "sv),
                 std::optional<std::uint64_t>(283115520));
        QVERIFY(!parseZramMemUsed("1 2"sv));

        QCOMPARE(numberedName("hwmon10"sv, "hwmon"sv), std::optional<int>(10));
        QCOMPARE(numberedName("temp2_input"sv, "temp"sv, "_input"sv), std::optional<int>(2));
        QVERIFY(!numberedName("temp2_label"sv, "temp"sv, "_input"sv));
        QVERIFY(!numberedName("temp_input"sv, "temp"sv, "_input"sv));
        QVERIFY(!numberedName("cpufreq"sv, "cpu"sv));
        QVERIFY(!numberedName("cpu1a"sv, "cpu"sv));
    }
};

QTEST_GUILESS_MAIN(TestProcParsers)
#include "tst_proc_parsers.moc"
