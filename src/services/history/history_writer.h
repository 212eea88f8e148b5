#pragma once

#include "services/history/history_columns.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace pw {

// Writes rows to the store on a thread of its own, so the cycle never waits
// for the disk. While the store cannot be written (no space, a read-only
// folder) it says so once, keeps the newest rows in memory and tries again
// after `retryAfter`; it says so again once writing works.
class HistoryWriter {
public:
    struct Options {
        QString storePath;
        std::chrono::milliseconds retryAfter{std::chrono::minutes(3)};
        std::size_t maxHeldRows = 3600; // an hour of cycles
        int maxPageCount = 0;           // a cap on the file's size in pages, for tests
    };
    // Called on the writer's thread, one line per change of state.
    using Report = std::function<void(const QString& line)>;

    // Opens the store at once, on the writer's thread.
    HistoryWriter(Options options, Report report);
    // Writes what was submitted, waiting for the disk at most `kStopWait`.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    static constexpr std::chrono::seconds kStopWait{5};

    // Takes the rows over; never waits for the disk.
    void submit(std::vector<HistoryRow> rows);
    // The same without waiting even for the writer's thread: false (the rows
    // left in place) while that thread holds the queue for a moment.
    bool offer(std::vector<HistoryRow>& rows);
    // Until everything submitted has been written or put off; false on timeout.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

    // Has every writer in the process write what it was given and stop, each
    // waiting at most `kStopWait`. Runs on exit(); later rows are not written.
    static void stopAllBeforeExit();

    // "History: cannot write to … (…); …", as every part of the recorder says it.
    static QString cannotWriteLine(const QString& storePath, const QString& why,
                                   std::chrono::milliseconds retryAfter);

    // What the writer's thread shares with its owner; the thread keeps it
    // alive after a stop that could not wait for it.
    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

} // namespace pw
