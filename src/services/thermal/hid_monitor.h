#pragma once

#include "platform/thermal_source.h"

#include <QString>

#include <memory>
#include <optional>

namespace pw {

// Reads one chip temperature: the first sensor, in the platform's order, whose
// name holds one of the candidate keys and that gives a positive reading.
class HIDMonitor {
public:
    explicit HIDMonitor(std::shared_ptr<platform::ThermalSource> source);

    std::optional<double> readTemperature(const QString& key);

    // The keys tried after the caller's, in order.
    static const std::vector<std::string>& candidateKeys();

private:
    std::shared_ptr<platform::ThermalSource> m_source;
    bool m_reportedMissing = false;
};

} // namespace pw
