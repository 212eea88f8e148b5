#pragma once

#include <QObject>

class QSocketNotifier;

namespace pw::app {

// Turns SIGINT and SIGTERM into a Qt signal on the main thread, so a run ended
// from the terminal still finishes its work (the CSV export) before exiting.
// The request also starts a deadline: should the program still be running
// kDeadlineMs later (the main thread stuck somewhere), it ends there and then
// with status 1, so a termination request is never ignored.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    static constexpr int kDeadlineMs = 800;

    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace pw::app
