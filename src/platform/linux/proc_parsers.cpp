#include "platform/linux/proc_parsers.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace pw::platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Hands out the lines of a text one by one, without copying; a last line without
// a line feed counts too.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : rest_(text) {}
    bool next(std::string_view& line) {
        if (rest_.empty()) {
            return false;
        }
        const auto end = rest_.find('\n');
        line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        return true;
    }

private:
    std::string_view rest_;
};

// Hands out the blank-separated words of a text.
class WordCursor {
public:
    explicit WordCursor(std::string_view text) : rest_(text) {}
    bool next(std::string_view& word) {
        std::size_t i = 0;
        while (i < rest_.size() && isBlank(rest_[i])) {
            ++i;
        }
        if (i == rest_.size()) {
            return false;
        }
        std::size_t j = i;
        while (j < rest_.size() && !isBlank(rest_[j])) {
            ++j;
        }
        word = rest_.substr(i, j - i);
        rest_ = rest_.substr(j);
        return true;
    }

private:
    std::string_view rest_;
};

template <typename T> std::optional<T> wholeNumber(std::string_view word) {
    T value{};
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc{} || ptr != end || word.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> nextUnsigned(WordCursor& words) {
    std::string_view word;
    if (!words.next(word)) {
        return std::nullopt;
    }
    return wholeNumber<std::uint64_t>(word);
}

std::uint64_t minusClamped(std::uint64_t a, std::uint64_t b) {
    return a > b ? a - b : 0;
}

// The kernel has never had this many CPUs; larger numbers in a list are garbage
// and would only make us allocate.
constexpr int maxCpuNumber = 1 << 16;

} // namespace

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    return wholeNumber<std::int64_t>(text);
}

std::optional<std::vector<CpuTicks>> parseCpuTicks(std::string_view procStat) {
    std::vector<CpuTicks> rows;
    LineCursor lines(procStat);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() < 4 || line.substr(0, 3) != "cpu" || !isDigit(line[3])) {
            continue; // the aggregate "cpu " row and every other kind of line
        }
        WordCursor words(line);
        std::string_view name;
        words.next(name);
        const auto cpu = wholeNumber<int>(name.substr(3));
        if (!cpu) {
            continue;
        }
        // user nice system idle iowait irq softirq steal guest guest_nice
        std::array<std::uint64_t, 10> f{};
        bool complete = true;
        for (auto& value : f) {
            const auto parsed = nextUnsigned(words);
            if (!parsed) {
                complete = false;
                break;
            }
            value = *parsed;
        }
        if (!complete) {
            continue;
        }
        // guest time is already inside user and nice; take it out so it is not
        // counted twice.
        CpuTicks ticks;
        ticks.cpu = *cpu;
        ticks.user = minusClamped(f[0], f[8]);
        ticks.nice = minusClamped(f[1], f[9]);
        ticks.system = f[2] + f[5] + f[6] + f[7];
        ticks.idle = f[3] + f[4];
        rows.push_back(ticks);
    }
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

MeminfoFields parseMeminfo(std::string_view text) {
    MeminfoFields fields;
    const std::pair<std::string_view, std::optional<std::uint64_t> MeminfoFields::*> keys[] = {
        {"MemTotal", &MeminfoFields::memTotal},
        {"SwapTotal", &MeminfoFields::swapTotal},
        {"SwapFree", &MeminfoFields::swapFree},
        {"SUnreclaim", &MeminfoFields::sUnreclaim},
        {"KernelStack", &MeminfoFields::kernelStack},
        {"PageTables", &MeminfoFields::pageTables},
        {"Unevictable", &MeminfoFields::unevictable},
        {"AnonPages", &MeminfoFields::anonPages},
        {"Zswap", &MeminfoFields::zswap},
    };
    LineCursor lines(text);
    std::string_view line;
    while (lines.next(line)) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const auto key = line.substr(0, colon);
        const auto match = std::find_if(std::begin(keys), std::end(keys),
                                        [&](const auto& entry) { return entry.first == key; });
        if (match == std::end(keys)) {
            continue;
        }
        WordCursor words(line.substr(colon + 1));
        std::string_view number;
        std::string_view unit;
        if (!words.next(number)) {
            continue;
        }
        const auto value = wholeNumber<std::uint64_t>(number);
        const bool hasUnit = words.next(unit);
        if (!value || (hasUnit && unit != "kB") || *value > (UINT64_MAX >> 10)) {
            continue;
        }
        fields.*(match->second) = hasUnit ? *value * 1024 : *value;
    }
    return fields;
}

std::optional<std::uint64_t> parseZramMemUsed(std::string_view mmStat) {
    WordCursor words(mmStat);
    std::string_view word;
    for (int i = 0; i < 3; ++i) {
        if (!words.next(word)) {
            return std::nullopt;
        }
    }
    return wholeNumber<std::uint64_t>(word);
}

std::optional<std::vector<InterfaceCounters>> parseNetDev(std::string_view text) {
    LineCursor lines(text);
    std::string_view line;
    for (int header = 0; header < 2; ++header) {
        if (!lines.next(line) || line.find('|') == std::string_view::npos) {
            return std::nullopt;
        }
    }
    std::vector<InterfaceCounters> interfaces;
    while (lines.next(line)) {
        // The counters never hold a ':', so the last one ends the name.
        const auto colon = line.rfind(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const auto name = trimmed(line.substr(0, colon));
        if (name.empty()) {
            continue;
        }
        WordCursor words(line.substr(colon + 1));
        std::array<std::uint64_t, 16> counters{};
        bool complete = true;
        for (auto& value : counters) {
            const auto parsed = nextUnsigned(words);
            if (!parsed) {
                complete = false;
                break;
            }
            value = *parsed;
        }
        if (!complete) {
            continue;
        }
        InterfaceCounters row;
        row.name = std::string(name);
        row.receivedBytes = counters[0];
        row.sentBytes = counters[8];
        interfaces.push_back(std::move(row));
    }
    return interfaces;
}

PowerSupply parsePowerSupplyUevent(std::string_view text) {
    PowerSupply supply;
    const std::pair<std::string_view, std::string PowerSupply::*> texts[] = {
        {"TYPE", &PowerSupply::type},
        {"SCOPE", &PowerSupply::scope},
        {"STATUS", &PowerSupply::status},
    };
    const std::pair<std::string_view, std::optional<std::int64_t> PowerSupply::*> numbers[] = {
        {"CAPACITY", &PowerSupply::capacity},      {"ENERGY_NOW", &PowerSupply::energyNow},
        {"ENERGY_FULL", &PowerSupply::energyFull}, {"CHARGE_NOW", &PowerSupply::chargeNow},
        {"CHARGE_FULL", &PowerSupply::chargeFull}, {"POWER_NOW", &PowerSupply::powerNow},
        {"VOLTAGE_NOW", &PowerSupply::voltageNow}, {"CURRENT_NOW", &PowerSupply::currentNow},
    };
    constexpr std::string_view prefix = "POWER_SUPPLY_";
    LineCursor lines(text);
    std::string_view line;
    while (lines.next(line)) {
        line = trimmed(line);
        const auto equals = line.find('=');
        if (line.substr(0, prefix.size()) != prefix || equals == std::string_view::npos) {
            continue;
        }
        const auto key = line.substr(prefix.size(), equals - prefix.size());
        const auto value = line.substr(equals + 1);
        for (const auto& [name, member] : texts) {
            if (key == name) {
                supply.*member = std::string(trimmed(value));
            }
        }
        for (const auto& [name, member] : numbers) {
            if (key == name) {
                supply.*member = parseInteger(value);
            }
        }
    }
    return supply;
}

std::optional<double> parseMilliCelsius(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<double>(*value) / 1000.0;
}

std::optional<ProcessStat> parseProcessStat(std::string_view text) {
    const auto open = text.find('(');
    const auto close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    const auto pid = wholeNumber<int>(trimmed(text.substr(0, open)));
    if (!pid || *pid <= 0) {
        return std::nullopt;
    }
    // After the command: state is field 3, utime and stime are fields 14 and 15.
    WordCursor words(text.substr(close + 1));
    std::string_view word;
    if (!words.next(word) || word.size() != 1) {
        return std::nullopt;
    }
    for (int field = 4; field <= 13; ++field) {
        if (!words.next(word)) {
            return std::nullopt;
        }
    }
    const auto utime = nextUnsigned(words);
    const auto stime = nextUnsigned(words);
    if (!utime || !stime) {
        return std::nullopt;
    }
    ProcessStat stat;
    stat.pid = *pid;
    stat.command = std::string(text.substr(open + 1, close - open - 1));
    stat.cpuTicks = *utime + *stime;
    return stat;
}

std::vector<std::string> parseCmdline(std::string_view text) {
    std::vector<std::string> arguments;
    if (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    } else if (text.empty()) {
        return arguments;
    }
    while (true) {
        const auto nul = text.find('\0');
        arguments.emplace_back(text.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        text = text.substr(nul + 1);
    }
    return arguments;
}

std::string_view withoutDeletedMark(std::string_view linkTarget) {
    constexpr std::string_view mark = " (deleted)";
    if (linkTarget.size() >= mark.size() &&
        linkTarget.substr(linkTarget.size() - mark.size()) == mark) {
        linkTarget.remove_suffix(mark.size());
    }
    return linkTarget;
}

std::optional<int> numberedName(std::string_view name, std::string_view prefix,
                                std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - suffix.size()) != suffix) {
        return std::nullopt;
    }
    const auto digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (!std::all_of(digits.begin(), digits.end(), isDigit)) {
        return std::nullopt;
    }
    return wholeNumber<int>(digits);
}

} // namespace pw::platform
