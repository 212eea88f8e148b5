#include "services/command_runner.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace pw {

// Owns the child processes on the runner's thread and reports each run's end
// back to the runner.
class ProcessLauncher : public QObject {
public:
    using Report = std::function<void(quint64, const CommandResult&)>;

    explicit ProcessLauncher(Report report) : m_report(std::move(report)) {}

    ~ProcessLauncher() override {
        for (QProcess* process : findChildren<QProcess*>()) {
            process->disconnect();
            // SIGKILL ends the child at once; collecting it here, off the
            // caller's thread, takes no time.
            process->kill();
            process->waitForFinished(1000);
        }
    }

    void start(quint64 id, const QString& program, const QStringList& arguments, int timeoutMs,
               const QProcessEnvironment& environment) {
        auto* process = new QProcess(this);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardInputFile(QProcess::nullDevice());
        auto* backstop = new QTimer(process);
        backstop->setSingleShot(true);
        auto run = std::make_shared<Run>();

        // A kill after the backstop still ends in finished(), which must not
        // report a second time.
        const auto report = [this, id, run](const CommandResult& result) {
            if (!run->reported) {
                run->reported = true;
                m_report(id, result);
            }
        };
        const auto collect = [process, run] {
            const QByteArray chunk = process->readAllStandardOutput();
            const qsizetype room = CommandRunner::kMaxOutputBytes - run->output.size();
            if (room > 0) {
                run->output.append(chunk.left(room));
            }
        };

        connect(process, &QProcess::readyReadStandardOutput, this, collect);
        connect(process, &QProcess::finished, this, [process, backstop, run, collect, report] {
            backstop->stop();
            collect();
            report(CommandResult{CommandResult::Outcome::Finished, run->output, {}});
            process->deleteLater();
        });
        connect(process, &QProcess::errorOccurred, this,
                [process, backstop, report](QProcess::ProcessError error) {
                    if (error != QProcess::FailedToStart) {
                        return; // a crash or read error still ends in finished()
                    }
                    backstop->stop();
                    report(CommandResult{
                        CommandResult::Outcome::FailedToStart, {}, process->errorString()});
                    process->deleteLater();
                });
        connect(backstop, &QTimer::timeout, this, [process, report] {
            report(
                CommandResult{CommandResult::Outcome::TimedOut, {}, QStringLiteral("timed out")});
            // finished() follows the kill and frees the process object.
            process->kill();
        });

        // Looked up in the PATH the caller had when it asked for the run, not
        // in whatever this process's PATH is by the time this thread gets here.
        const QString resolved =
            program.contains(u'/')
                ? program
                : QStandardPaths::findExecutable(
                      program,
                      environment.value(QStringLiteral("PATH")).split(u':', Qt::SkipEmptyParts));
        backstop->start(timeoutMs);
        process->start(resolved.isEmpty() ? program : resolved, arguments, QIODevice::ReadOnly);
    }

private:
    struct Run {
        QByteArray output;
        bool reported = false;
    };
    Report m_report;
};

CommandRunner::CommandRunner(QObject* parent) : QObject(parent) {
    // Called on the launcher's thread; the callback belongs to ours. The
    // destructor stops that thread before this object goes, and a call still
    // queued then is dropped with it.
    m_launcher = new ProcessLauncher([this](quint64 id, const CommandResult& result) {
        QMetaObject::invokeMethod(
            this, [this, id, result] { deliver(id, result); }, Qt::QueuedConnection);
    });
    m_launcher->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_launcher, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("pw-command-runner"));
    m_thread.start();
}

CommandRunner::~CommandRunner() {
    m_callbacks.clear();
    m_thread.quit();
    m_thread.wait();
}

QProcessEnvironment CommandRunner::childEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return env;
}

void CommandRunner::run(const QString& program, const QStringList& arguments, int timeoutMs,
                        Callback done) {
    const quint64 id = ++m_nextId;
    m_callbacks.insert(id, std::move(done));
    // The environment is read here, where the caller set it up.
    QMetaObject::invokeMethod(
        m_launcher,
        [launcher = m_launcher, id, program, arguments, timeoutMs, env = childEnvironment()] {
            launcher->start(id, program, arguments, timeoutMs, env);
        },
        Qt::QueuedConnection);
}

void CommandRunner::deliver(quint64 id, const CommandResult& result) {
    const auto it = m_callbacks.find(id);
    if (it == m_callbacks.end()) {
        return;
    }
    const Callback done = std::move(*it);
    m_callbacks.erase(it);
    if (done) {
        done(result);
    }
}

bool CommandRunner::startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(childEnvironment());
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace pw
