#include "platform/linux/cpu_parsers.h"

#include "platform/linux/text_scan.h"

#include <algorithm>
#include <array>

namespace pw::platform {

namespace {

// The kernel has never had this many CPUs; larger numbers in a list are garbage
// and would only make us allocate.
constexpr int maxCpuNumber = 1 << 16;

} // namespace

std::optional<std::vector<CpuTicks>> parseCpuTicks(std::string_view procStat) {
    std::vector<CpuTicks> rows;
    forEachLine(procStat, [&](std::string_view line) {
        if (line.size() < 4 || line.substr(0, 3) != "cpu" || !isDigit(line[3])) {
            return; // the aggregate "cpu " row and every other kind of line
        }
        WordCursor words(line);
        std::string_view name;
        words.next(name);
        const auto cpu = wholeNumber<int>(name.substr(3));
        if (!cpu) {
            return;
        }
        // user nice system idle iowait irq softirq steal guest guest_nice
        std::array<std::uint64_t, 10> f{};
        for (auto& value : f) {
            const auto parsed = nextUnsigned(words);
            if (!parsed) {
                return;
            }
            value = *parsed;
        }
        // guest and guest_nice are already inside user and nice: a CPU running
        // a virtual machine is busy, so they stay there and are not added again.
        CpuTicks ticks;
        ticks.cpu = *cpu;
        ticks.user = f[0];
        ticks.nice = f[1];
        ticks.system = f[2] + f[5] + f[6] + f[7];
        ticks.idle = f[3] + f[4];
        rows.push_back(ticks);
    });
    if (rows.empty()) {
        return std::nullopt;
    }
    return rows;
}

std::optional<std::vector<int>> parseCpuList(std::string_view text) {
    text = trimmed(text);
    std::vector<int> cpus;
    if (text.empty()) {
        return cpus;
    }
    while (true) {
        const auto comma = text.find(',');
        const auto piece = text.substr(0, comma);
        const auto dash = piece.find('-');
        const auto first = wholeNumber<int>(piece.substr(0, dash));
        const auto last =
            dash == std::string_view::npos ? first : wholeNumber<int>(piece.substr(dash + 1));
        if (!first || !last || *first < 0 || *last < *first || *last > maxCpuNumber) {
            return std::nullopt;
        }
        for (int cpu = *first; cpu <= *last; ++cpu) {
            cpus.push_back(cpu);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        text = text.substr(comma + 1);
    }
    std::sort(cpus.begin(), cpus.end());
    cpus.erase(std::unique(cpus.begin(), cpus.end()), cpus.end());
    return cpus;
}

int countAffectedCpus(std::string_view text) {
    int count = 0;
    bool inNumber = false;
    for (const char c : text) {
        count += isDigit(c) && !inNumber ? 1 : 0;
        inNumber = isDigit(c);
    }
    return count;
}

std::optional<double> parseKHzAsMHz(std::string_view text) {
    const auto khz = wholeNumber<std::uint64_t>(trimmed(text));
    if (!khz || *khz == 0) {
        return std::nullopt;
    }
    return static_cast<double>(*khz) / 1000.0;
}

std::optional<double> parseCpuinfoMHz(std::string_view text) {
    double sum = 0.0;
    int count = 0;
    forEachLine(text, [&](std::string_view line) {
        if (!line.starts_with("cpu MHz")) {
            return;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        if (const auto mhz = decimalNumber(trimmed(line.substr(colon + 1))); mhz && *mhz > 0.0) {
            sum += *mhz;
            ++count;
        }
    });
    if (count == 0) {
        return std::nullopt;
    }
    return sum / count;
}

} // namespace pw::platform
