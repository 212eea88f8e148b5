// SIGTERM reaches the main thread as a Qt signal; and when the main thread
// cannot take it (stuck in a call that never returns), the deadline ends the
// program anyway. Each case runs in a child: this same executable started
// with a role argument.

#include "app/termination_signals.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

int runRole(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    pw::app::TerminationSignals signals;
    if (std::strcmp(argv[1], "--stuck") == 0) {
        ::raise(SIGTERM);
        // A main thread that never gets back to its event loop.
        for (;;)
            ::pause();
    }
    QObject::connect(&signals, &pw::app::TerminationSignals::terminationRequested, &app, [] {
        std::fputs("termination requested\n", stdout);
        QCoreApplication::exit(7);
    });
    ::raise(SIGTERM);
    return app.exec();
}

struct Result {
    int exitCode = -1;
    QByteArray out, err;
};

Result runChild(const char* role) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(role)});
    // Hang detection only: the child should be gone long before.
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished();
        return {};
    }
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            child.readAllStandardOutput(), child.readAllStandardError()};
}

} // namespace

class TestTerminationSignals : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theRequestReachesTheEventLoop() {
        const Result r = runChild("--clean");
        QCOMPARE(r.exitCode, 7);
        QCOMPARE(r.out, QByteArray("termination requested\n"));
    }

    void aStuckMainThreadStillEnds() {
        const Result r = runChild("--stuck");
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("still running after the termination request"));
    }
};

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--stuck") == 0 || std::strcmp(argv[1], "--clean") == 0))
        return runRole(argc, argv);
    QCoreApplication app(argc, argv);
    TestTerminationSignals test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_termination_signals.moc"
