#pragma once

#include "services/engine/snapshot.h"
#include "services/fans/fan_speed.h"

#include <QList>
#include <QObject>

namespace pw {

// Every fan the machine reports, with its speed.
class FanMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<pw::FanSpeed> fans READ fans NOTIFY fansChanged)

public:
    using QObject::QObject;

    const QList<FanSpeed>& fans() const { return m_fans; }
    void apply(const Snapshot& snapshot);

Q_SIGNALS:
    void fansChanged();

private:
    QList<FanSpeed> m_fans;
};

} // namespace pw
