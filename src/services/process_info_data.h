#pragma once

#include <QIcon>
#include <QMetaType>
#include <QString>

namespace pw {

// One row of the busiest-process list.
struct ProcessInfoData {
    int id = 0;
    QString name;
    QString fullPath;
    double cpuUsage = 0.0; // percent of one core over the last interval; may exceed 100
    double energyImpact = 0.0;
    QIcon icon;           // the installed application's icon; null when there is none
    QString desktopEntry; // that application's .desktop file; empty when there is none
    // Negative where the kernel does not let us read the figure (another
    // user's process) or, for the rates, before a second sample exists.
    qint64 residentBytes = -1;
    double storageReadRate = -1.0;  // bytes per second over the last interval
    double storageWriteRate = -1.0; // the same
};

} // namespace pw

Q_DECLARE_METATYPE(pw::ProcessInfoData)
