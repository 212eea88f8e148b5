#include "services/process_storage.h"

namespace pw {
namespace {

double rate(const std::optional<std::uint64_t>& before, const std::optional<std::uint64_t>& now,
            double elapsed) {
    if (!before || !now)
        return -1.0;
    if (*now < *before || !(elapsed > 0.0))
        return 0.0;
    return static_cast<double>(*now - *before) / elapsed;
}

} // namespace

ProcessStorageRates::Rates
ProcessStorageRates::sample(int pid, const platform::ProcessResources& resources, double seconds) {
    Rates rates;
    if (const auto before = m_previous.find(pid); before != m_previous.end()) {
        const double elapsed = seconds - before->second.seconds;
        rates.read = rate(before->second.read, resources.storageReadBytes, elapsed);
        rates.write = rate(before->second.written, resources.storageWrittenBytes, elapsed);
    }
    m_current[pid] = {resources.storageReadBytes, resources.storageWrittenBytes, seconds};
    return rates;
}

void ProcessStorageRates::finishRound() {
    m_previous = std::move(m_current);
    m_current.clear();
}

} // namespace pw
