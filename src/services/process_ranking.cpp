#include "services/process_ranking.h"

#include <algorithm>

namespace pw {
namespace {

constexpr std::string_view kDeletedMark = " (deleted)";

QString fromLocal(const std::string& text) {
    return QString::fromStdString(text);
}

QString lastComponent(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace

ProcessSample makeProcessSample(const std::vector<platform::ProcessStat>& table, double seconds) {
    ProcessSample sample;
    sample.seconds = seconds;
    sample.ticks.reserve(table.size());
    for (const platform::ProcessStat& row : table) {
        sample.ticks[row.pid] = row.cpuTicks;
    }
    return sample;
}

std::vector<RankedProcess> rankProcesses(const ProcessSample& previous,
                                         const std::vector<platform::ProcessStat>& table,
                                         double seconds, long ticksPerSecond) {
    const double elapsed = seconds - previous.seconds;
    const double scale = elapsed > 0.0 && ticksPerSecond > 0
                             ? 100.0 / (elapsed * static_cast<double>(ticksPerSecond))
                             : 0.0;
    std::vector<RankedProcess> ranked;
    ranked.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const platform::ProcessStat& row = table[i];
        std::uint64_t delta = row.cpuTicks;
        const auto before = previous.ticks.find(row.pid);
        if (before != previous.ticks.end() && before->second <= row.cpuTicks) {
            delta = row.cpuTicks - before->second;
        }
        ranked.push_back({row.pid, static_cast<double>(delta) * scale, i});
    }
    std::sort(ranked.begin(), ranked.end(), [](const RankedProcess& a, const RankedProcess& b) {
        return a.cpuUsage != b.cpuUsage ? a.cpuUsage > b.cpuUsage : a.pid < b.pid;
    });
    return ranked;
}

ProcessIdentity identifyProcess(const std::string& command,
                                const std::optional<std::string>& executable,
                                const std::optional<std::vector<std::string>>& arguments) {
    std::string path;
    if (executable && !executable->empty()) {
        path = *executable;
        if (path.size() > kDeletedMark.size() && path.ends_with(kDeletedMark)) {
            path.resize(path.size() - kDeletedMark.size());
        }
    } else if (arguments && !arguments->empty() && arguments->front().starts_with('/')) {
        path = arguments->front();
    }
    if (path.empty()) {
        const QString name = fromLocal(command);
        return {name, name, false};
    }
    const QString fullPath = fromLocal(path);
    return {lastComponent(fullPath), fullPath, true};
}

} // namespace pw
