#include "fixture_tree.h"
#include "platform/linux/linux_process_source.h"
#include "platform/linux/process_parsers.h"

#include <QTest>

#include <QDir>

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace pw::platform;
using namespace std::string_view_literals;

namespace {

using ProcessesOn = SourceOn<LinuxProcessSource>;

} // namespace

class TestProcessSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statNamesAndMalformedRows() {
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

    void argumentsExecutableAndResourceTexts() {
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

        QCOMPARE(parseStatmResidentPages("2162 612 403 8 0 171 0\n"sv),
                 std::optional<std::uint64_t>(612));
        QVERIFY(!parseStatmResidentPages("2162\n"sv));
        QVERIFY(!parseStatmResidentPages("2162 -4 1\n"sv));

        const auto io = parseProcessIo("rchar: 323934931\nwchar: 323929600\nsyscr: 632687\n"
                                       "read_bytes: 2048\nwrite_bytes: 323932160\n"
                                       "cancelled_write_bytes: 0\n"sv);
        QCOMPARE(io.readBytes, std::optional<std::uint64_t>(2048));
        QCOMPARE(io.writeBytes, std::optional<std::uint64_t>(323932160));
        // rchar/wchar count page-cache hits too: they must not stand in.
        const auto partial = parseProcessIo("rchar: 5\nwchar: 7\nwrite_bytes: x\n"sv);
        QVERIFY(!partial.readBytes && !partial.writeBytes);
    }

    void processTableOfAMachine() {
        ProcessesOn processes(fixturePath("processes"));
        auto table = processes.source.processTable();
        QVERIFY(table);
        std::sort(table->begin(), table->end(),
                  [](const ProcessStat& a, const ProcessStat& b) { return a.pid < b.pid; });
        std::vector<int> pids;
        for (const auto& row : *table) {
            pids.push_back(row.pid);
        }
        // 3000 has a cut-off stat; "self" and "uptime" are not processes.
        QCOMPARE(pids, (std::vector<int>{1, 2, 57, 812, 1234, 2001}));
        QCOMPARE((*table)[0].command, std::string("systemd"));
        QCOMPARE((*table)[0].cpuTicks, std::uint64_t(460));
        QCOMPARE((*table)[2].command, std::string("kworker/0:1-events"));
        QCOMPARE((*table)[3].command, std::string("(sd-pam)"));
        QCOMPARE((*table)[4].command, std::string("my (odd) name"));
        QCOMPARE((*table)[4].cpuTicks, std::uint64_t(5250));
        QCOMPARE((*table)[5].command, std::string("Web Content"));

        QCOMPARE(processes.source.executable(1234),
                 std::optional<std::string>("/home/sam/bin/my (odd) name"));
        QCOMPARE(processes.source.executable(2001),
                 std::optional<std::string>("/usr/lib/firefox/firefox"));
        QVERIFY(!processes.source.executable(812)); // another user's process
        QVERIFY(!processes.source.executable(2));   // kernel thread
        QVERIFY(!processes.source.executable(99999));

        QCOMPARE(processes.source.arguments(1234),
                 std::optional<std::vector<std::string>>(
                     {"/home/sam/bin/my (odd) name", "--flag", "", "last arg"}));
        QCOMPARE(processes.source.arguments(2), std::optional(std::vector<std::string>{}));
        QVERIFY(!processes.source.arguments(99999));
        QVERIFY(processes.source.ticksPerSecond() > 0);

        ProcessesOn nothing(fixturePath("no-such-machine"));
        QVERIFY(!nothing.source.processTable());
        QVERIFY(!nothing.source.arguments(1));
    }

    void ownProcessResources() {
        ProcessesOn processes("/");
        const auto own = processes.source.resources(static_cast<int>(::getpid()));
        QVERIFY(own.residentBytes.value_or(0) > 0);
        // io is readable for one's own processes wherever task accounting is built in.
        if (QFile::exists("/proc/self/io")) {
            QVERIFY(own.storageReadBytes && own.storageWrittenBytes);
        }
        const auto gone = processes.source.resources(-1);
        QVERIFY(!gone.residentBytes && !gone.storageReadBytes);
    }

    // The live table keeps each process's stat open between readings: a
    // process that starts is seen, one that ends is dropped with its
    // descriptor, and nothing is read from a descriptor of an ended process.
    void liveTableFollowsProcessesAndGivesDescriptorsBack() {
        ProcessesOn processes("/");
        const auto has = [](const std::optional<std::vector<ProcessStat>>& table, int pid) {
            return table && std::any_of(table->begin(), table->end(),
                                        [pid](const ProcessStat& p) { return p.pid == pid; });
        };
        QVERIFY(has(processes.source.processTable(), int(::getpid())));
        const int openBefore = int(QDir("/proc/self/fd").count());

        const pid_t child = ::fork();
        if (child == 0) {
            ::pause();
            ::_exit(0);
        }
        QVERIFY(child > 0);
        QVERIFY(has(processes.source.processTable(), child));
        QVERIFY(has(processes.source.processTable(), child)); // read again, not reopened
        const auto openNow = [] { return int(QDir("/proc/self/fd").count()); };
        const int withChild = openNow();
        // A listed process's statm and io stay open while it is asked about,
        // and are given back after a round in which nobody asked.
        QVERIFY(processes.source.resources(child).residentBytes);
        QVERIFY(processes.source.resources(child).residentBytes);
        QVERIFY(openNow() > withChild);
        QVERIFY(has(processes.source.processTable(), child));
        QVERIFY(has(processes.source.processTable(), child));
        QCOMPARE(openNow(), withChild);
        QVERIFY(processes.source.resources(child).residentBytes);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY(!has(processes.source.processTable(), child));
        QCOMPARE(int(QDir("/proc/self/fd").count()), openBefore);
    }
};

QTEST_GUILESS_MAIN(TestProcessSource)
#include "tst_process_source.moc"
