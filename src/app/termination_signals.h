#pragma once

#include <QObject>

class QSocketNotifier;

namespace pw::app {

// Turns SIGINT and SIGTERM into a Qt signal on the main thread, so a run ended
// from the terminal still finishes its work (the CSV export) before exiting.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace pw::app
