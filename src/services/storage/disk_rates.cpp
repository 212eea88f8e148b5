#include "services/storage/disk_rates.h"

namespace pw {
namespace {
// The kernel counts in 512-byte units whatever the device's own sector size.
constexpr double kSectorBytes = 512.0;

double rate(std::uint64_t now, std::uint64_t before, double elapsed) {
    return now >= before ? static_cast<double>(now - before) * kSectorBytes / elapsed : 0.0;
}
} // namespace

std::optional<DiskRates::Rates> DiskRates::update(const platform::BlockDeviceCounters& counters,
                                                  double seconds) {
    std::optional<Rates> result;
    if (!m_reference) {
        // Nothing to compare with yet.
    } else if (m_reference->device != counters.device) {
        result = Rates{};
    } else {
        const double elapsed = seconds - m_referenceSeconds;
        if (!(elapsed > 0.0)) {
            // A clock that stood still or stepped back: wait for a usable interval,
            // unless a counter fell, which makes the reference worthless anyway.
            if (counters.sectorsRead >= m_reference->sectorsRead &&
                counters.sectorsWritten >= m_reference->sectorsWritten)
                return std::nullopt;
            result = Rates{};
        } else {
            result = Rates{rate(counters.sectorsRead, m_reference->sectorsRead, elapsed),
                           rate(counters.sectorsWritten, m_reference->sectorsWritten, elapsed)};
        }
    }
    m_reference = counters;
    m_referenceSeconds = seconds;
    return result;
}

} // namespace pw
