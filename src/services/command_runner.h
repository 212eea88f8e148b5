#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>

namespace pw {

struct CommandResult {
    enum class Outcome {
        Finished,      // the child ended (any exit status); `output` holds its stdout
        FailedToStart, // `error` says why
        TimedOut,      // killed by the backstop; counts as failed
    };
    Outcome outcome = Outcome::Finished;
    QByteArray output;
    QString error;

    bool finished() const { return outcome == Outcome::Finished; }
};

class ProcessLauncher;

// Runs system tools as child processes without ever blocking the caller's
// thread: even the fork and exec happen on a thread of the runner's own. The
// program is found through PATH and gets its arguments as a list (no shell);
// it runs with LC_ALL=C so its output has the untranslated format, inherits
// standard error and reads nothing from standard input.
class CommandRunner : public QObject {
    Q_OBJECT

public:
    using Callback = std::function<void(const CommandResult&)>;

    // Captured output beyond this is dropped; no tool we run prints that much.
    static constexpr qsizetype kMaxOutputBytes = 1 << 20;

    explicit CommandRunner(QObject* parent = nullptr);
    // Children still running are killed; their callbacks never run.
    ~CommandRunner() override;

    // Starts `program` capturing its standard output. `done` runs exactly once,
    // later, on this object's thread: when the child ends, when it cannot start,
    // or when `timeoutMs` passes first (the child is then killed).
    void run(const QString& program, const QStringList& arguments, int timeoutMs, Callback done);

    // Runs that have not delivered their result yet.
    int pending() const { return static_cast<int>(m_callbacks.size()); }

    // Starts a child that is neither waited for nor read and is reaped by the
    // system. Returns whether it started.
    static bool startDetached(const QString& program, const QStringList& arguments);

    static QProcessEnvironment childEnvironment();

private:
    void deliver(quint64 id, const CommandResult& result);

    QThread m_thread;
    ProcessLauncher* m_launcher = nullptr; // lives in m_thread
    QHash<quint64, Callback> m_callbacks;
    quint64 m_nextId = 0;
};

} // namespace pw
