#include "platform/linux/process_parsers.h"

#include "platform/linux/text_scan.h"

namespace pw::platform {

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
    if (linkTarget.ends_with(mark)) {
        linkTarget.remove_suffix(mark.size());
    }
    return linkTarget;
}

std::optional<std::uint64_t> parseStatmResidentPages(std::string_view text) {
    WordCursor fields(text);
    std::string_view size;
    if (!fields.next(size)) {
        return std::nullopt;
    }
    return nextUnsigned(fields);
}

ProcessIoBytes parseProcessIo(std::string_view text) {
    ProcessIoBytes io;
    forEachLine(text, [&](std::string_view line) {
        const auto parts = words(line);
        if (parts.size() != 2) {
            return;
        }
        if (parts[0] == "read_bytes:") {
            io.readBytes = wholeNumber<std::uint64_t>(parts[1]);
        } else if (parts[0] == "write_bytes:") {
            io.writeBytes = wholeNumber<std::uint64_t>(parts[1]);
        }
    });
    return io;
}

} // namespace pw::platform
