#include "platform/linux/storage_parsers.h"

#include "platform/linux/text_scan.h"

#include <algorithm>

namespace pw::platform {

namespace {

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

} // namespace

std::optional<BlockDeviceCounters> parseDiskstats(std::string_view text,
                                                  std::string_view deviceName) {
    std::optional<BlockDeviceCounters> found;
    forEachLine(text, [&](std::string_view line) {
        if (found || line.find(deviceName) == std::string_view::npos) {
            return;
        }
        const auto parts = words(line);
        // major minor name reads merged sectors ms writes merged sectors ...
        if (parts.size() < 10 || parts[2] != deviceName) {
            return;
        }
        const auto read = wholeNumber<std::uint64_t>(parts[5]);
        const auto written = wholeNumber<std::uint64_t>(parts[9]);
        if (read && written) {
            found = BlockDeviceCounters{std::string(deviceName), *read, *written};
        }
    });
    return found;
}

std::string decodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '\\' && i + 3 < text.size();
        if (escape && text[i + 1] == 'x' && hexDigit(text[i + 2]) >= 0 &&
            hexDigit(text[i + 3]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 2]) << 4 | hexDigit(text[i + 3])));
            i += 3;
        } else if (escape && text[i + 1] >= '0' && text[i + 1] <= '3' &&
                   isOctalDigit(text[i + 2]) && isOctalDigit(text[i + 3])) {
            out.push_back(static_cast<char>((text[i + 1] - '0') << 6 | (text[i + 2] - '0') << 3 |
                                            (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::optional<MountEntry> parseRootMount(std::string_view mountinfo) {
    std::optional<MountEntry> root;
    forEachLine(mountinfo, [&](std::string_view line) {
        // id parent major:minor root mountpoint options [optional...] - fstype source super
        const auto parts = words(line);
        if (parts.size() < 7 || parts[4] != "/") {
            return;
        }
        const auto separator = std::find(parts.begin() + 6, parts.end(), std::string_view("-"));
        if (separator == parts.end() || parts.end() - separator < 3) {
            return;
        }
        const std::string_view device = parts[2];
        const std::size_t colon = device.find(':');
        const auto major = wholeNumber<int>(device.substr(0, colon));
        const auto minor = colon == std::string_view::npos
                               ? std::nullopt
                               : wholeNumber<int>(device.substr(colon + 1));
        if (!major || !minor || *major < 0 || *minor < 0) {
            return;
        }
        root = MountEntry{*major, *minor, decodeEscapes(separator[2]), std::string(separator[1])};
    });
    return root;
}

} // namespace pw::platform
