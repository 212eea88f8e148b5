#include "services/thermal/hid_monitor.h"

#include "services/engine/plausible.h"

#include "services/log_line.h"

#include <algorithm>
#include <cctype>

namespace pw {
namespace {
std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
} // namespace

HIDMonitor::HIDMonitor(std::shared_ptr<platform::ThermalSource> source)
    : m_source(std::move(source)) {}

const std::vector<std::string>& HIDMonitor::candidateKeys() {
    static const std::vector<std::string> keys = {"Package id",   "Tdie",        "Tctl",
                                                  "x86_pkg_temp", "cpu_thermal", "cpu-thermal",
                                                  "soc_thermal",  "soc-thermal"};
    return keys;
}

std::optional<double> HIDMonitor::readTemperature(const QString& key) {
    const auto sensors = m_source->sensors();
    if (!sensors) {
        // Once per spell: a machine without sensors would otherwise log every second.
        if (!m_reportedMissing)
            logLine(QStringLiteral("HIDMonitor: No thermal services found."));
        m_reportedMissing = true;
        return std::nullopt;
    }
    m_reportedMissing = false;
    m_implausible = false;

    std::vector<std::string> candidates;
    candidates.reserve(candidateKeys().size() + 1);
    candidates.push_back(lowered(key.toStdString()));
    for (const std::string& k : candidateKeys())
        candidates.push_back(lowered(k));

    for (const platform::ThermalSensor& sensor : *sensors) {
        const std::string name = lowered(sensor.productName);
        for (const std::string& candidate : candidates) {
            if (candidate.empty() || name.find(candidate) == std::string::npos)
                continue;
            const std::optional<double> value = m_source->readCelsius(sensor);
            if (!value || *value == 0.0)
                break; // read once: the next candidate key names the same sensor
            // A reading outside what silicon survives is a broken sensor.
            if (plausible::within(value, plausible::kMinCelsius, plausible::kMaxCelsius))
                return value;
            m_implausible = true;
            break;
        }
    }
    return std::nullopt;
}

} // namespace pw
