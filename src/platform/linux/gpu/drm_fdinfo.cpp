#include "platform/linux/gpu/drm_fdinfo.h"

#include "platform/linux/text_scan.h"

#include <algorithm>

namespace pw::platform::gpu {

namespace {

DrmEngineCounter& engineNamed(std::vector<DrmEngineCounter>& engines, std::string_view name) {
    const auto found = std::find_if(engines.begin(), engines.end(),
                                    [&](const DrmEngineCounter& e) { return e.name == name; });
    if (found != engines.end()) {
        return *found;
    }
    engines.push_back(DrmEngineCounter{std::string(name)});
    return engines.back();
}

std::optional<std::uint64_t> firstNumber(std::string_view value) {
    WordCursor words(value);
    return nextUnsigned(words);
}

} // namespace

std::optional<DrmClientInfo> parseDrmFdinfo(std::string_view text) {
    DrmClientInfo info;
    bool hasClientId = false;
    forEachLine(text, [&](std::string_view line) {
        const auto colon = line.find(':');
        if (!line.starts_with("drm-") || colon == std::string_view::npos) {
            return;
        }
        const std::string_view key = line.substr(0, colon);
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (key == "drm-driver") {
            info.driver = std::string(value);
            return;
        }
        if (key == "drm-pdev") {
            info.pdev = std::string(value);
            return;
        }
        const auto number = firstNumber(value);
        if (!number) {
            return;
        }
        if (key == "drm-client-id") {
            info.clientId = *number;
            hasClientId = true;
        } else if (key.starts_with("drm-engine-capacity-")) {
            const auto name = key.substr(20);
            if (!name.empty() && *number > 0 && *number < 1024) {
                engineNamed(info.engines, name).capacity = static_cast<unsigned>(*number);
            }
        } else if (key.starts_with("drm-engine-") && key.size() > 11) {
            engineNamed(info.engines, key.substr(11)).busy = *number;
        } else if (key.starts_with("drm-total-cycles-") && key.size() > 17) {
            engineNamed(info.engines, key.substr(17)).totalCycles = *number;
        } else if (key.starts_with("drm-cycles-") && key.size() > 11) {
            DrmEngineCounter& engine = engineNamed(info.engines, key.substr(11));
            engine.busy = *number;
            engine.cycles = true;
        }
    });
    if (info.driver.empty() || !hasClientId) {
        return std::nullopt;
    }
    return info;
}

std::optional<double> engineShare(const DrmEngineCounter& before, const DrmEngineCounter& now,
                                  double elapsedSeconds) {
    if (now.busy < before.busy || now.cycles != before.cycles) {
        return 0.0;
    }
    const double busy = static_cast<double>(now.busy - before.busy);
    double reference = 0.0;
    if (now.cycles) {
        if (now.totalCycles <= before.totalCycles) {
            return std::nullopt;
        }
        reference = static_cast<double>(now.totalCycles - before.totalCycles);
    } else {
        if (!(elapsedSeconds > 0.0)) {
            return std::nullopt;
        }
        reference = elapsedSeconds * 1e9;
    }
    // Counters are read apart from the clock, so a share can overshoot a little.
    return std::clamp(busy / (reference * now.capacity), 0.0, 1.0);
}

} // namespace pw::platform::gpu
