#include "platform/linux/linux_cpu_source.h"

#include "platform/linux/cpu_parsers.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"

#include <algorithm>
#include <utility>

namespace pw::platform {

LinuxCpuSource::LinuxCpuSource(RootPath root, std::shared_ptr<Clock> clock)
    : m_root(std::move(root)), m_clock(std::move(clock)), m_stat(m_root.proc("stat")),
      m_cpuDir(m_root.sys("devices/system/cpu/")) {}

std::optional<std::vector<CpuTicks>> LinuxCpuSource::cpuTicks() {
    const auto text = m_stat.read(m_buffer);
    if (!text) {
        return std::nullopt;
    }
    return parseCpuTicks(*text);
}

std::optional<std::vector<int>> LinuxCpuSource::readCpuList(const std::string& path) {
    const auto text = readFile(path, m_buffer);
    if (!text) {
        return std::nullopt;
    }
    return parseCpuList(*text);
}

std::optional<int> LinuxCpuSource::onlineCpuCount() {
    if (const auto online = readCpuList(m_cpuDir + "online"); online && !online->empty()) {
        return static_cast<int>(online->size());
    }
    if (const auto rows = cpuTicks()) {
        return static_cast<int>(rows->size());
    }
    return std::nullopt;
}

// ARM big.LITTLE: every online CPU whose capacity is below the largest one is
// an efficiency core, the others performance cores. Absent when no capacities
// are published or all are equal.
std::optional<LinuxCpuSource::CapacitySplit> LinuxCpuSource::splitByCapacity() {
    const auto online = readCpuList(m_cpuDir + "online");
    const auto isOnline = [&](int cpu) {
        return !online || online->empty() ||
               std::binary_search(online->begin(), online->end(), cpu);
    };
    std::vector<std::pair<int, std::int64_t>> capacities;
    for (const auto& [cpu, name] : numberedEntries(m_cpuDir, "cpu")) {
        if (!isOnline(cpu)) {
            continue;
        }
        if (const auto capacity = readInteger(m_cpuDir + name + "/cpu_capacity", m_buffer)) {
            capacities.emplace_back(cpu, *capacity);
        }
    }
    if (capacities.empty()) {
        return std::nullopt;
    }
    const auto top = std::max_element(capacities.begin(), capacities.end(), [](auto& a, auto& b) {
                         return a.second < b.second;
                     })->second;
    CapacitySplit split;
    for (const auto& [cpu, capacity] : capacities) {
        if (capacity < top) {
            split.efficiencyCpus.push_back(cpu);
        } else {
            ++split.performanceCount;
        }
    }
    if (split.efficiencyCpus.empty()) {
        return std::nullopt;
    }
    return split;
}

CoreTopology LinuxCpuSource::coreTopology() {
    CoreTopology topology;
    // Intel hybrid parts publish one perf PMU per core type with its CPU list.
    const auto atom = readCpuList(m_root.sys("devices/cpu_atom/cpus"));
    const auto core = readCpuList(m_root.sys("devices/cpu_core/cpus"));
    if (atom && !atom->empty()) {
        topology.efficiencyCpus = *atom;
        topology.performanceLevel1 = static_cast<int>(atom->size());
        if (core) {
            topology.performanceLevel0 = static_cast<int>(core->size());
        } else if (const auto online = onlineCpuCount()) {
            topology.performanceLevel0 = std::max(0, *online - static_cast<int>(atom->size()));
        }
        return topology;
    }
    if (auto split = splitByCapacity()) {
        topology.performanceLevel1 = static_cast<int>(split->efficiencyCpus.size());
        topology.performanceLevel0 = split->performanceCount;
        topology.efficiencyCpus = std::move(split->efficiencyCpus);
        return topology;
    }
    topology.performanceLevel0 = onlineCpuCount();
    return topology;
}

std::vector<LinuxCpuSource::ClockPolicy> LinuxCpuSource::scanClockPolicies() {
    std::vector<ClockPolicy> policies;
    const std::string dir = m_cpuDir + "cpufreq/";
    for (const auto& [number, name] : numberedEntries(dir, "policy")) {
        const std::string policy = dir + name + "/";
        if (!pathExists(policy + "scaling_cur_freq")) {
            continue;
        }
        int cpus = 1;
        if (const auto text = readFile(policy + "affected_cpus", m_buffer)) {
            cpus = countAffectedCpus(*text); // none: every CPU of it is offline
        }
        if (cpus > 0) {
            policies.push_back(ClockPolicy{policy + "scaling_cur_freq", cpus});
        }
    }
    return policies;
}

std::optional<double> LinuxCpuSource::clockMHz() {
    const double now = m_clock->monotonicSeconds();
    double weighted = 0.0;
    int cpus = 0;
    for (const ClockPolicy& policy : m_policies.get(now, [&] { return scanClockPolicies(); })) {
        const auto text = readFile(policy.path, m_buffer);
        if (const auto mhz = text ? parseKHzAsMHz(*text) : std::nullopt) {
            weighted += *mhz * policy.cpuCount;
            cpus += policy.cpuCount;
        }
    }
    if (cpus > 0) {
        return weighted / cpus;
    }
    // No cpufreq (VMs, some x86 without a driver).
    return m_cpuinfoMHz.get(now, [&]() -> std::optional<double> {
        const auto text = readFile(m_root.proc("cpuinfo"), m_buffer);
        return text ? parseCpuinfoMHz(*text) : std::nullopt;
    });
}

} // namespace pw::platform
