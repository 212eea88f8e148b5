#pragma once

// The DRM client lines of /proc/<pid>/fdinfo/<fd>: which device an open GPU
// file belongs to and how long it kept each engine class busy.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform::gpu {

struct DrmEngineCounter {
    std::string name;       // "render", "video", "gfx", "rcs"
    std::uint64_t busy = 0; // nanoseconds, or GPU cycles when `cycles`
    // drm-total-cycles: the GPU's cycles over the client's life, the
    // reference its busy cycles are a share of.
    std::uint64_t totalCycles = 0;
    bool cycles = false;
    unsigned capacity = 1; // engines of the class
    bool operator==(const DrmEngineCounter&) const = default;
};

struct DrmClientInfo {
    std::string driver;         // drm-driver
    std::string pdev;           // drm-pdev, empty off PCI
    std::uint64_t clientId = 0; // drm-client-id, unique per device
    std::vector<DrmEngineCounter> engines;
    bool operator==(const DrmClientInfo&) const = default;
};

// Absent unless the text names a DRM client (drm-driver and drm-client-id).
// Engine lines: "drm-engine-<class>: <ns> ns", "drm-engine-capacity-<class>",
// "drm-cycles-<class>" with "drm-total-cycles-<class>"; malformed ones are
// left out.
std::optional<DrmClientInfo> parseDrmFdinfo(std::string_view text);

// The share (0–1) of its engine class one client had between two readings:
// busy time over wall time for nanosecond counters, busy cycles over the GPU's
// cycles for cycle counters, divided by the class's engines. Absent when no
// time passed; 0 when the counter went back.
std::optional<double> engineShare(const DrmEngineCounter& before, const DrmEngineCounter& now,
                                  double elapsedSeconds);

} // namespace pw::platform::gpu
