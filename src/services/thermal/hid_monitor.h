#pragma once

#include "platform/thermal_source.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pw {

// Reads one chip temperature: the first sensor, in the platform's order, whose
// name holds one of the candidate keys and that gives a reading. 0 is no
// reading (what an idle sensor reports); a value outside −40…150 °C is a broken
// one and is skipped too.
class HIDMonitor {
public:
    explicit HIDMonitor(std::shared_ptr<platform::ThermalSource> source);

    std::optional<double> readTemperature(const QString& key);
    // Whether the last read found only broken readings: the temperature is then
    // unknown, not merely unread.
    bool lastReadingImplausible() const { return m_implausible; }

    // The keys tried after the caller's, in order.
    static const std::vector<std::string>& candidateKeys();

private:
    // The sensors whose names hold a candidate key, in the platform's order;
    // found again only when the key or the list of sensors changes.
    const std::vector<std::size_t>& matching(const QString& key,
                                             const std::vector<platform::ThermalSensor>& sensors);

    std::shared_ptr<platform::ThermalSource> m_source;
    QString m_matchedKey;
    std::vector<platform::ThermalSensor> m_matchedSensors;
    std::vector<std::size_t> m_matching;
    bool m_matched = false;
    bool m_reportedMissing = false;
    bool m_implausible = false;
};

} // namespace pw
