#include "probe_test_support.h"
#include "services/command_runner.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>

using pw::CommandResult;
using pw::CommandRunner;

class TestCommandRunner : public QObject {
    Q_OBJECT

private:
    static inline bool deliveredInsideRun = false;

    // Runs one command and waits for its result.
    static std::optional<CommandResult> runAndWait(CommandRunner& runner, const QString& program,
                                                   const QStringList& arguments,
                                                   int timeoutMs = 10000) {
        std::optional<CommandResult> result;
        bool calledInside = true;
        runner.run(program, arguments, timeoutMs, [&](const CommandResult& r) {
            deliveredInsideRun = deliveredInsideRun || calledInside;
            result = r;
        });
        calledInside = false;
        if (!QTest::qWaitFor([&] { return result.has_value(); }, 20000)) {
            return std::nullopt;
        }
        return result;
    }

private Q_SLOTS:
    void capturesOutputOfArgumentList() {
        CommandRunner runner;
        pw::test::EnvGuard locale("LC_ALL", "de_DE.UTF-8");
        // Arguments reach the child as they are: nothing expands them.
        auto result =
            runAndWait(runner, QStringLiteral("printf"),
                       {QStringLiteral("%s|"), QStringLiteral("a  b"), QStringLiteral("$HOME;"),
                        QStringLiteral("*"), QStringLiteral("$(id)")});
        QVERIFY(result && result->finished());
        QCOMPARE(result->output, QByteArray("a  b|$HOME;|*|$(id)|"));

        result = runAndWait(runner, QStringLiteral("printenv"), {QStringLiteral("LC_ALL")});
        QVERIFY(result && result->finished());
        QCOMPARE(result->output, QByteArray("C\n"));

        // Standard input is empty: a reader of it ends at once.
        result = runAndWait(runner, QStringLiteral("cat"), {});
        QVERIFY(result && result->finished());
        QVERIFY(result->output.isEmpty());

        // The exit status is not a failure; the output decides.
        result = runAndWait(runner, QStringLiteral("sh"),
                            {QStringLiteral("-c"), QStringLiteral("echo partial; exit 3")});
        QVERIFY(result && result->finished());
        QCOMPARE(result->output, QByteArray("partial\n"));

        // Output is capped, not unbounded.
        result = runAndWait(
            runner, QStringLiteral("head"),
            {QStringLiteral("-c"), QStringLiteral("3000000"), QStringLiteral("/dev/zero")});
        QVERIFY(result && result->finished());
        QCOMPARE(result->output.size(), CommandRunner::kMaxOutputBytes);
        QCOMPARE(runner.pending(), 0);
        QVERIFY(!deliveredInsideRun);
    }

    void failuresAreReportedNotThrown() {
        CommandRunner runner;
        auto result = runAndWait(runner, QStringLiteral("pulsewick-no-such-tool"), {});
        QVERIFY(result);
        QCOMPARE(result->outcome, CommandResult::Outcome::FailedToStart);
        QVERIFY(!result->error.isEmpty());
        QVERIFY(!deliveredInsideRun);

        result = runAndWait(runner, QStringLiteral("sleep"), {QStringLiteral("60")}, 200);
        QVERIFY(result);
        QCOMPARE(result->outcome, CommandResult::Outcome::TimedOut);
        QCOMPARE(runner.pending(), 0);
    }

    void destroyingTheRunnerEndsItsChildren() {
        bool called = false;
        {
            auto runner = std::make_unique<CommandRunner>();
            runner->run(QStringLiteral("sleep"), {QStringLiteral("60")}, 60000,
                        [&](const CommandResult&) { called = true; });
            QCOMPARE(runner->pending(), 1);
            QTest::qWait(50);
        }
        QTest::qWait(50);
        QVERIFY(!called);
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "tst_command_runner.moc"
