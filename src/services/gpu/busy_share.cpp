#include "services/gpu/busy_share.h"

#include <algorithm>

namespace pw {

std::optional<double> BusyShare::update(std::uint64_t busyMicroseconds, double seconds) {
    std::optional<double> result;
    if (m_reference) {
        const double wallMicroseconds = (seconds - m_reference->seconds) * 1e6;
        if (busyMicroseconds < m_reference->busy) {
            result = 0.0;
        } else if (!(wallMicroseconds > 0.0)) {
            return std::nullopt;
        } else {
            const double busy = static_cast<double>(busyMicroseconds - m_reference->busy);
            // Busy time is sampled apart from the clock, so it can overshoot a little.
            result = std::clamp(busy / wallMicroseconds * 100.0, 0.0, 100.0);
        }
    }
    m_reference = Reading{busyMicroseconds, seconds};
    return result;
}

} // namespace pw
