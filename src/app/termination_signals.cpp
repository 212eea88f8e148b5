#include "app/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace pw::app {
namespace {
int g_pipe[2] = {-1, -1};
timer_t g_deadline{};
volatile std::sig_atomic_t g_deadlineReady = 0;
volatile std::sig_atomic_t g_deadlineArmed = 0;

void onDeadline(int) {
    static const char message[] = "pulsewick: still running after the termination request; "
                                  "ending now\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(1);
}

// Only async-signal-safe calls here: write() and timer_settime().
void onSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    if (g_deadlineReady && !g_deadlineArmed) {
        g_deadlineArmed = 1;
        itimerspec deadline{};
        deadline.it_value.tv_sec = TerminationSignals::kDeadlineMs / 1000;
        deadline.it_value.tv_nsec = (TerminationSignals::kDeadlineMs % 1000) * 1000000L;
        ::timer_settime(g_deadline, 0, &deadline, nullptr);
    }
    errno = savedErrno;
}

// One timer for the life of the process: once armed it must outlast this
// object, since a hang may come in the teardown after it.
void prepareDeadline() {
    if (g_deadlineReady)
        return;
    struct sigaction action {};
    action.sa_handler = onDeadline;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGALRM;
    if (::timer_create(CLOCK_MONOTONIC, &event, &g_deadline) == 0)
        g_deadlineReady = 1;
}
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    prepareDeadline();
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char buf[16];
        while (::read(g_pipe[0], buf, sizeof buf) > 0) {
        }
        Q_EMIT terminationRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

} // namespace pw::app
