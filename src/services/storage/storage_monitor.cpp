#include "services/storage/storage_monitor.h"

#include "services/engine/assign_notify.h"

namespace pw {

void StorageMonitor::apply(const Snapshot& s) {
    using M = StorageMonitor;
    const StorageFigures& d = s.storage;
    assignNotify(this, m_diskVolumeName, d.volumeName, &M::diskVolumeNameChanged);
    assignNotify(this, m_diskKind, d.kind, &M::diskKindChanged);
    assignNotify(this, m_diskTotal, d.totalGB, &M::diskTotalChanged);
    assignNotify(this, m_diskAvailable, d.availableGB, &M::diskAvailableChanged);
    assignNotify(this, m_diskUsedFraction, d.usedFraction, &M::diskUsedFractionChanged);
    assignNotify(this, m_diskReadRate, d.readBytesPerSecond, &M::diskReadRateChanged);
    assignNotify(this, m_diskWriteRate, d.writeBytesPerSecond, &M::diskWriteRateChanged);
    assignNotify(this, m_diskReadPeak, d.readPeakBytesPerSecond, &M::diskReadPeakChanged);
    assignNotify(this, m_diskWritePeak, d.writePeakBytesPerSecond, &M::diskWritePeakChanged);
}

} // namespace pw
