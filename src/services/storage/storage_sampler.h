#pragma once

#include "platform/clock.h"
#include "platform/storage_source.h"
#include "services/engine/fixed_history.h"
#include "services/engine/snapshot.h"
#include "services/storage/disk_rates.h"

#include <memory>

namespace pw {

// The root volume's size and free space, and its block device's rates with
// their peaks over the last 60 cycles.
class StorageSampler {
public:
    StorageSampler(std::shared_ptr<platform::StorageSource> source,
                   std::shared_ptr<platform::Clock> clock)
        : m_source(std::move(source)), m_clock(std::move(clock)) {}

    // Name, kind and space: these change slowly, the caller asks now and then.
    void sampleVolume(StorageFigures& figures);
    void sampleActivity(StorageFigures& figures);

private:
    std::shared_ptr<platform::StorageSource> m_source;
    std::shared_ptr<platform::Clock> m_clock;
    DiskRates m_rates;
    RollingPeak<60> m_readPeaks;
    RollingPeak<60> m_writePeaks;
};

// "SSD", "HDD", or empty when it is not known whether the disk spins.
QString diskKindText(std::optional<bool> rotational);

} // namespace pw
