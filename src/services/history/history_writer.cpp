#include "services/history/history_writer.h"

#include "services/history/history_store_session.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>

namespace pw {

using Clock = std::chrono::steady_clock;

struct HistoryWriter::Shared {
    Options options;
    Report report;
    std::mutex mutex;
    std::condition_variable wake;    // work or stop for the writer
    std::condition_variable settled; // the writer has nothing in hand
    std::vector<HistoryRow> queue;
    bool stopping = false;
    bool busy = true; // opening the store counts as work
    bool finished = false;
};

namespace {

// exit() (which Qt calls when the X server goes away) destroys Qt's database
// registry while a writer may be in the middle of a batch. Every live writer
// is therefore stopped first, from a handler registered once a store has been
// opened, so it runs before that registry is destroyed. Neither list nor lock
// is ever destroyed, so both outlive every other exit-time destructor.
std::mutex& liveWritersMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}
std::vector<std::weak_ptr<HistoryWriter::Shared>>& liveWriters() {
    static auto* writers = new std::vector<std::weak_ptr<HistoryWriter::Shared>>;
    return *writers;
}
std::once_flag exitHandlerRegistered;

// The writer's own state; lives on its thread only.
class WriterLoop {
public:
    explicit WriterLoop(std::shared_ptr<HistoryWriter::Shared> shared)
        : m_shared(std::move(shared)),
          m_session(m_shared->options.storePath, m_shared->report, m_shared->options.maxPageCount) {
    }

    void run() {
        if (auto error = m_session.open())
            pause(*error);
        std::call_once(exitHandlerRegistered,
                       [] { std::atexit(HistoryWriter::stopAllBeforeExit); });
        for (;;) {
            std::vector<HistoryRow> incoming;
            bool stopping = false;
            {
                std::unique_lock lock(m_shared->mutex);
                m_shared->busy = false;
                m_shared->settled.notify_all();
                m_shared->wake.wait(
                    lock, [this] { return !m_shared->queue.empty() || m_shared->stopping; });
                incoming.swap(m_shared->queue);
                stopping = m_shared->stopping;
                m_shared->busy = true;
            }
            m_held.insert(m_held.end(), std::make_move_iterator(incoming.begin()),
                          std::make_move_iterator(incoming.end()));
            writeHeld(stopping);
            if (stopping)
                break;
        }
        m_session.close();
        std::lock_guard lock(m_shared->mutex);
        m_shared->busy = false;
        m_shared->finished = true;
        m_shared->settled.notify_all();
    }

private:
    void writeHeld(bool closing) {
        // On the way out the store is tried once more whatever the wait.
        if (!m_session.isOpen()) {
            if (!closing && Clock::now() < m_retryAt)
                return keepNewest();
            if (auto error = m_session.open())
                return pause(*error);
        }
        std::optional<history::StoreError> error = m_session.write(m_held, closing);
        if (error && error->kind == history::StoreError::Kind::Corrupt) {
            error = m_session.startAfresh(error->text);
            if (!error)
                error = m_session.write(m_held, closing);
        }
        if (error)
            return pause(*error);
        m_held.clear();
        if (m_paused) {
            m_paused = false;
            m_shared->report(
                QStringLiteral("History: recording to %1 again").arg(m_shared->options.storePath));
        }
    }

    void pause(const history::StoreError& error) {
        m_session.close();
        m_retryAt = Clock::now() + m_shared->options.retryAfter;
        if (!m_paused)
            m_shared->report(HistoryWriter::cannotWriteLine(m_shared->options.storePath, error.text,
                                                            m_shared->options.retryAfter));
        m_paused = true;
        keepNewest();
    }

    void keepNewest() {
        const std::size_t keep = m_shared->options.maxHeldRows;
        if (m_held.size() > keep)
            m_held.erase(m_held.begin(),
                         m_held.begin() + static_cast<std::ptrdiff_t>(m_held.size() - keep));
    }

    std::shared_ptr<HistoryWriter::Shared> m_shared;
    history::StoreSession m_session;
    std::vector<HistoryRow> m_held;
    Clock::time_point m_retryAt{};
    bool m_paused = false;
};

} // namespace

HistoryWriter::HistoryWriter(Options options, Report report)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->options = std::move(options);
    m_shared->report = std::move(report);
    {
        std::lock_guard lock(liveWritersMutex());
        std::erase_if(liveWriters(), [](const auto& w) { return w.expired(); });
        liveWriters().push_back(m_shared);
    }
    m_thread = std::thread([shared = m_shared] { WriterLoop(shared).run(); });
}

namespace {
// Asks the writer to write what it has and stop; true once it has.
bool stopAndWait(HistoryWriter::Shared& shared, std::unique_lock<std::mutex>& lock) {
    shared.stopping = true;
    shared.wake.notify_one();
    return shared.settled.wait_for(lock, HistoryWriter::kStopWait,
                                   [&shared] { return shared.finished; });
}
} // namespace

void HistoryWriter::stopAllBeforeExit() {
    std::vector<std::shared_ptr<Shared>> writers;
    {
        std::lock_guard lock(liveWritersMutex());
        for (const auto& w : liveWriters())
            if (auto shared = w.lock())
                writers.push_back(std::move(shared));
    }
    for (const auto& shared : writers) {
        std::unique_lock lock(shared->mutex);
        stopAndWait(*shared, lock);
    }
}

HistoryWriter::~HistoryWriter() {
    std::unique_lock lock(m_shared->mutex);
    // A disk that hangs must not hang the quit: past the wait the thread is
    // left to finish on its own (it owns everything it uses).
    if (stopAndWait(*m_shared, lock)) {
        lock.unlock();
        m_thread.join();
    } else {
        lock.unlock();
        m_thread.detach();
    }
}

namespace {
void enqueue(std::vector<HistoryRow>& queue, std::vector<HistoryRow>& rows) {
    if (queue.empty())
        queue.swap(rows);
    else
        queue.insert(queue.end(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
    rows.clear();
}
} // namespace

void HistoryWriter::submit(std::vector<HistoryRow> rows) {
    if (rows.empty())
        return;
    std::lock_guard lock(m_shared->mutex);
    enqueue(m_shared->queue, rows);
    m_shared->wake.notify_one();
}

bool HistoryWriter::offer(std::vector<HistoryRow>& rows) {
    std::unique_lock lock(m_shared->mutex, std::try_to_lock);
    if (!lock.owns_lock())
        return false;
    enqueue(m_shared->queue, rows);
    m_shared->wake.notify_one();
    return true;
}

bool HistoryWriter::waitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->settled.wait_for(lock, timeout, [this] {
        return m_shared->finished || (!m_shared->busy && m_shared->queue.empty());
    });
}

QString HistoryWriter::cannotWriteLine(const QString& storePath, const QString& why,
                                       std::chrono::milliseconds retryAfter) {
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(retryAfter).count();
    const QString every = minutes >= 1 ? QStringLiteral("%1 min").arg(minutes)
                                       : QStringLiteral("%1 ms").arg(retryAfter.count());
    return QStringLiteral("History: cannot write to %1 (%2); recording stops and is tried again "
                          "every %3")
        .arg(storePath, why, every);
}

} // namespace pw
