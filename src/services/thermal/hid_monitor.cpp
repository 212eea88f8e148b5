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

const std::vector<std::size_t>&
HIDMonitor::matching(const QString& key, const std::vector<platform::ThermalSensor>& sensors) {
    const auto same = [](const platform::ThermalSensor& a, const platform::ThermalSensor& b) {
        return a.productName == b.productName && a.handle == b.handle;
    };
    if (m_matched && key == m_matchedKey &&
        std::equal(sensors.begin(), sensors.end(), m_matchedSensors.begin(), m_matchedSensors.end(),
                   same))
        return m_matching;

    std::vector<std::string> candidates;
    candidates.reserve(candidateKeys().size() + 1);
    candidates.push_back(lowered(key.toStdString()));
    for (const std::string& k : candidateKeys())
        candidates.push_back(lowered(k));
    m_matching.clear();
    for (std::size_t i = 0; i < sensors.size(); ++i) {
        const std::string name = lowered(sensors[i].productName);
        if (std::any_of(candidates.begin(), candidates.end(), [&](const std::string& candidate) {
                return !candidate.empty() && name.find(candidate) != std::string::npos;
            }))
            m_matching.push_back(i);
    }
    m_matchedKey = key;
    m_matchedSensors = sensors;
    m_matched = true;
    return m_matching;
}

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

    for (const std::size_t index : matching(key, *sensors)) {
        // Read once: a sensor that gives nothing is passed over whichever key named it.
        const std::optional<double> value = m_source->readCelsius((*sensors)[index]);
        if (!value || *value == 0.0)
            continue;
        // A reading outside what silicon survives is a broken sensor.
        if (plausible::within(value, plausible::kMinCelsius, plausible::kMaxCelsius))
            return value;
        m_implausible = true;
    }
    return std::nullopt;
}

} // namespace pw
