#include "services/demand/demand.h"

#include <utility>

namespace pw {

void Demand::hold(Reading reading) {
    if (++m_counts[index(reading)] == 1 && m_onlyWatched)
        Q_EMIT raised(reading);
}

void Demand::release(Reading reading) {
    int& n = m_counts[index(reading)];
    if (n > 0)
        --n;
}

DemandHold::DemandHold(Demand& demand, const std::vector<Reading>& readings)
    : m_demand(&demand), m_held(true) {
    for (Reading r : readings) {
        bool& mine = m_readings[static_cast<std::size_t>(r)];
        if (!mine) {
            mine = true;
            demand.hold(r);
        }
    }
}

DemandHold::DemandHold(DemandHold&& other) noexcept
    : m_demand(std::exchange(other.m_demand, nullptr)),
      m_readings(std::exchange(other.m_readings, {})), m_held(std::exchange(other.m_held, false)) {}

DemandHold& DemandHold::operator=(DemandHold&& other) noexcept {
    if (this != &other) {
        release();
        m_demand = std::exchange(other.m_demand, nullptr);
        m_readings = std::exchange(other.m_readings, {});
        m_held = std::exchange(other.m_held, false);
    }
    return *this;
}

void DemandHold::release() {
    for (std::size_t i = 0; i < m_readings.size(); ++i)
        if (std::exchange(m_readings[i], false) && m_demand)
            m_demand->release(static_cast<Reading>(i));
    m_demand = nullptr;
    m_held = false;
}

} // namespace pw
