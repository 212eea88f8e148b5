#include "services/storage/storage_sampler.h"

#include "services/engine/units.h"

#include <algorithm>

namespace pw {

QString diskKindText(std::optional<bool> rotational) {
    if (!rotational)
        return {};
    return *rotational ? QStringLiteral("HDD") : QStringLiteral("SSD");
}

void StorageSampler::sampleVolume(StorageFigures& figures) {
    const std::optional<platform::VolumeSpace> volume = m_source->rootVolume();
    if (!volume)
        return;
    figures.volumeName = QString::fromStdString(volume->name);
    figures.kind = diskKindText(volume->rotational);
    figures.totalGB = gigabytes(volume->totalBytes);
    figures.availableGB = gigabytes(volume->availableBytes);
    figures.usedFraction.reset();
    if (volume->totalBytes > 0) {
        const double free =
            static_cast<double>(volume->availableBytes) / static_cast<double>(volume->totalBytes);
        figures.usedFraction = std::clamp(1.0 - free, 0.0, 1.0);
    }
}

void StorageSampler::sampleActivity(StorageFigures& figures) {
    const std::optional<platform::BlockDeviceCounters> device = m_source->rootBlockDevice();
    if (!device)
        return;
    constexpr std::uint64_t kSectorBytes = 512;
    figures.readBytesTotal = device->sectorsRead * kSectorBytes;
    figures.writtenBytesTotal = device->sectorsWritten * kSectorBytes;
    const std::optional<DiskRates::Rates> rates =
        m_rates.update(*device, m_clock->monotonicSeconds());
    if (!rates)
        return;
    figures.readBytesPerSecond = rates->read;
    figures.writeBytesPerSecond = rates->write;
    m_readPeaks.push(rates->read);
    m_writePeaks.push(rates->write);
    figures.readPeakBytesPerSecond = m_readPeaks.peak();
    figures.writePeakBytesPerSecond = m_writePeaks.peak();
}

} // namespace pw
