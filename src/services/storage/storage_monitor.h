#pragma once

#include "services/engine/snapshot.h"

#include <QObject>
#include <QString>

#include <optional>

namespace pw {

// The volume mounted at "/": sizes in GB (1024³ bytes), rates in bytes per
// second of its block device, peaks over the last 60 cycles.
class StorageMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString diskVolumeName READ diskVolumeName NOTIFY diskVolumeNameChanged)
    Q_PROPERTY(QString diskKind READ diskKind NOTIFY diskKindChanged)
    Q_PROPERTY(std::optional<double> diskTotal READ diskTotal NOTIFY diskTotalChanged)
    Q_PROPERTY(std::optional<double> diskAvailable READ diskAvailable NOTIFY diskAvailableChanged)
    Q_PROPERTY(
        std::optional<double> diskUsedFraction READ diskUsedFraction NOTIFY diskUsedFractionChanged)
    Q_PROPERTY(std::optional<double> diskReadRate READ diskReadRate NOTIFY diskReadRateChanged)
    Q_PROPERTY(std::optional<double> diskWriteRate READ diskWriteRate NOTIFY diskWriteRateChanged)
    Q_PROPERTY(std::optional<double> diskReadPeak READ diskReadPeak NOTIFY diskReadPeakChanged)
    Q_PROPERTY(std::optional<double> diskWritePeak READ diskWritePeak NOTIFY diskWritePeakChanged)

public:
    using QObject::QObject;

    QString diskVolumeName() const { return m_diskVolumeName; }
    QString diskKind() const { return m_diskKind; } // "SSD", "HDD" or empty
    std::optional<double> diskTotal() const { return m_diskTotal; }
    std::optional<double> diskAvailable() const { return m_diskAvailable; }
    std::optional<double> diskUsedFraction() const { return m_diskUsedFraction; }
    std::optional<double> diskReadRate() const { return m_diskReadRate; }
    std::optional<double> diskWriteRate() const { return m_diskWriteRate; }
    std::optional<double> diskReadPeak() const { return m_diskReadPeak; }
    std::optional<double> diskWritePeak() const { return m_diskWritePeak; }

    void apply(const Snapshot& snapshot);

Q_SIGNALS:
    void diskVolumeNameChanged();
    void diskKindChanged();
    void diskTotalChanged();
    void diskAvailableChanged();
    void diskUsedFractionChanged();
    void diskReadRateChanged();
    void diskWriteRateChanged();
    void diskReadPeakChanged();
    void diskWritePeakChanged();

private:
    QString m_diskVolumeName;
    QString m_diskKind;
    std::optional<double> m_diskTotal;
    std::optional<double> m_diskAvailable;
    std::optional<double> m_diskUsedFraction;
    std::optional<double> m_diskReadRate;
    std::optional<double> m_diskWriteRate;
    std::optional<double> m_diskReadPeak;
    std::optional<double> m_diskWritePeak;
};

} // namespace pw
