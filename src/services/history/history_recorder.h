#pragma once

#include "services/history/history_writer.h"

#include <QLockFile>

#include <memory>
#include <mutex>
#include <vector>

namespace pw {

// Keeps every cycle's figures in the store: rows gather in memory and go to
// the writer's thread as one batch every `batchSeconds`, so a crash loses at
// most that much, and the disk is not woken every second. One program records
// at a time: the store's lock file says which; a second one records nothing and
// says so. What is pending is written when the recorder goes.
class HistoryRecorder {
public:
    struct Options {
        QString storePath;
        double batchSeconds = 10.0;
        std::chrono::milliseconds retryAfter{std::chrono::minutes(3)};
        std::size_t maxHeldRows = 3600;
        int maxPageCount = 0; // a cap on the file's size in pages, for tests
    };

    explicit HistoryRecorder(Options options);
    ~HistoryRecorder();
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // Whether this program writes the store (false when another one does).
    bool isRecording() const { return m_state != State::Taken; }

    // One cycle. Cheap: the figures are read and kept; every `batchSeconds`
    // they are handed to the writer.
    void record(const FigureInputs& inputs);
    // Hands the rows kept so far to the writer now.
    void flush();
    // Flushes and waits until the writer has them on disk (or put off); false
    // on timeout. For tests and the benchmark.
    bool waitUntilWritten(std::chrono::milliseconds timeout);

private:
    enum class State { NoLock, Locked, Taken };
    void tryLock();
    void post(const QString& line);
    void printMessages();

    Options m_options;
    State m_state = State::NoLock;
    QLockFile m_lock;
    std::chrono::steady_clock::time_point m_lockRetryAt{};
    std::unique_ptr<HistoryWriter> m_writer;
    std::vector<HistoryRow> m_pending;

    // Lines from the writer's thread, printed on this one.
    struct Mailbox {
        std::mutex mutex;
        QStringList lines;
    };
    std::shared_ptr<Mailbox> m_mailbox = std::make_shared<Mailbox>();
    static void printLines(Mailbox& box);
};

} // namespace pw
