#include "services/cpu/cpu_load.h"

#include <algorithm>

namespace pw {
namespace {
double delta(std::uint64_t now, std::uint64_t before) {
    return now >= before ? static_cast<double>(now - before) : 0.0;
}
} // namespace

bool CpuClusters::isEfficiency(int cpu) const {
    if (efficiencyCpus)
        return std::find(efficiencyCpus->begin(), efficiencyCpus->end(), cpu) !=
               efficiencyCpus->end();
    return cpu < eCoreCount;
}

CpuClusters clustersFromTopology(const platform::CoreTopology& topology) {
    int buffer = 0;
    if (topology.performanceLevel1)
        buffer = *topology.performanceLevel1;
    CpuClusters clusters;
    clusters.eCoreCount = buffer;
    if (topology.performanceLevel0)
        buffer = *topology.performanceLevel0;
    clusters.pCoreCount = buffer;
    if (clusters.eCoreCount == 0 && clusters.pCoreCount == 0) {
        clusters.eCoreCount = 4;
        clusters.pCoreCount = 4;
    }
    clusters.efficiencyCpus = topology.efficiencyCpus;
    return clusters;
}

std::optional<CpuLoad> computeCpuLoad(const std::vector<platform::CpuTicks>& previous,
                                      const std::vector<platform::CpuTicks>& current,
                                      const CpuClusters& clusters) {
    double e = 0.0;
    double p = 0.0;
    double userTicks = 0.0;
    double systemTicks = 0.0;
    double allTicks = 0.0;
    CpuLoad result;
    result.perCpu.reserve(current.size());
    result.cpus.reserve(current.size());
    for (const platform::CpuTicks& now : current) {
        // Rows are keyed by CPU number; both samples are short, so a scan is cheapest.
        auto before = std::find_if(previous.begin(), previous.end(),
                                   [&](const platform::CpuTicks& t) { return t.cpu == now.cpu; });
        if (before == previous.end())
            continue;
        const double du = delta(now.user, before->user);
        const double ds = delta(now.system, before->system);
        const double di = delta(now.idle, before->idle);
        const double dn = delta(now.nice, before->nice);
        const double total = ((du + ds) + di) + dn;
        const double busy = (du + ds) + dn;
        const double load = total > 0.0 ? busy / total : busy / 1.0;
        result.perCpu.push_back(load);
        result.cpus.push_back(now.cpu);
        userTicks += du + dn;
        systemTicks += ds;
        allTicks += total;
        if (clusters.isEfficiency(now.cpu))
            e += load;
        else
            p += load;
    }
    if (result.perCpu.empty())
        return std::nullopt;
    result.eClusterUsage = e / static_cast<double>(std::max(clusters.eCoreCount, 1)) * 100.0;
    result.pClusterUsage = p / static_cast<double>(std::max(clusters.pCoreCount, 1)) * 100.0;
    result.cpuUsage = (p + e) / static_cast<double>(result.perCpu.size()) * 100.0;
    if (allTicks > 0.0) {
        result.userUsage = userTicks / allTicks * 100.0;
        result.systemUsage = systemTicks / allTicks * 100.0;
    }
    return result;
}

} // namespace pw
