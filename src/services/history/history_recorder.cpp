#include "services/history/history_recorder.h"

#include "services/log_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pw {
namespace {
// Ten cycles of one second make a batch even when the clock is slow.
constexpr double kCycleSeconds = 1.0;
} // namespace

void HistoryRecorder::printLines(Mailbox& box) {
    QStringList lines;
    {
        std::lock_guard lock(box.mutex);
        lines.swap(box.lines);
    }
    for (const QString& line : lines)
        logLine(line);
}

HistoryRecorder::HistoryRecorder(Options options)
    : m_options(std::move(options)), m_lock(m_options.storePath + QStringLiteral(".lock")) {
    // Only a live holder keeps the lock: the file of a killed run is taken over.
    m_lock.setStaleLockTime(0);
    tryLock();
}

HistoryRecorder::~HistoryRecorder() {
    flush();
    m_writer.reset(); // writes what it holds
    printMessages();
}

void HistoryRecorder::tryLock() {
    const QString folder = QFileInfo(m_options.storePath).absolutePath();
    QDir().mkpath(folder);
    if (m_lock.tryLock(0)) {
        m_state = State::Locked;
        std::weak_ptr<Mailbox> mailbox = m_mailbox;
        m_writer = std::make_unique<HistoryWriter>(
            HistoryWriter::Options{m_options.storePath, m_options.retryAfter, m_options.maxHeldRows,
                                   m_options.maxPageCount},
            [mailbox](const QString& line) {
                if (const auto box = mailbox.lock()) {
                    std::lock_guard lock(box->mutex);
                    box->lines << line;
                }
                // Printed on the main thread as soon as it gets round to it.
                if (QCoreApplication* app = QCoreApplication::instance())
                    QMetaObject::invokeMethod(
                        app,
                        [mailbox] {
                            if (const auto box = mailbox.lock())
                                printLines(*box);
                        },
                        Qt::QueuedConnection);
            });
        return;
    }
    if (m_lock.error() == QLockFile::LockFailedError) {
        m_state = State::Taken;
        m_pending.clear();
        logLine(QStringLiteral("History: another Pulsewick is recording to %1; this one keeps no "
                               "history")
                    .arg(m_options.storePath));
        return;
    }
    if (m_state == State::NoLock && m_lockRetryAt == std::chrono::steady_clock::time_point{})
        logLine(HistoryWriter::cannotWriteLine(
            m_options.storePath, QStringLiteral("cannot make its lock file in %1").arg(folder),
            m_options.retryAfter));
    m_lockRetryAt = std::chrono::steady_clock::now() + m_options.retryAfter;
}

void HistoryRecorder::record(const FigureInputs& inputs) {
    if (m_state == State::Taken)
        return;
    m_pending.push_back(historyRow(inputs));
    if (m_state == State::NoLock) {
        if (m_pending.size() > m_options.maxHeldRows)
            m_pending.erase(m_pending.begin());
        if (std::chrono::steady_clock::now() >= m_lockRetryAt)
            tryLock();
        if (m_state != State::Locked)
            return;
    }
    const double span = static_cast<double>(m_pending.back().timeMs - m_pending.front().timeMs);
    // Either way round, so a clock stepped back does not hold rows forever.
    // The cycle never waits: if the writer's thread holds the queue just now,
    // the rows go with the next cycle.
    if ((std::abs(span) >= m_options.batchSeconds * 1000.0 ||
         static_cast<double>(m_pending.size()) * kCycleSeconds >= m_options.batchSeconds) &&
        m_writer)
        m_writer->offer(m_pending);
}

void HistoryRecorder::flush() {
    if (m_writer && !m_pending.empty())
        m_writer->submit(std::exchange(m_pending, {}));
}

bool HistoryRecorder::waitUntilWritten(std::chrono::milliseconds timeout) {
    flush();
    const bool done = !m_writer || m_writer->waitUntilIdle(timeout);
    printMessages();
    return done;
}

void HistoryRecorder::printMessages() {
    printLines(*m_mailbox);
}

} // namespace pw
