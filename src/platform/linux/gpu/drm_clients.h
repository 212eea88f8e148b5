#pragma once

// GPU use by process from the DRM clients' fdinfo: each open GPU file's engine
// counters, read every cycle, give every card's load (the busiest engine class,
// summed over clients) and each process's share. Which files are GPU files is
// looked up again every few seconds: walking every process's open files costs
// far more than reading the few that matter.

#include "platform/gpu_source.h"
#include "platform/linux/gpu/drm_fdinfo.h"
#include "platform/root_path.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pw::platform::gpu {

// What the tracker needs to know of a card.
struct ClientCard {
    std::string card;               // "card0"
    std::string pciAddress;         // matched against drm-pdev when both are known
    std::vector<std::string> nodes; // "card0", "renderD128"
    bool asleep = false;            // its clients are not read: some drivers wake for it
};

class DrmClientTracker {
public:
    DrmClientTracker(RootPath root, double fileScanSeconds);

    // One cycle at `nowSeconds`.
    void sample(double nowSeconds, const std::vector<ClientCard>& cards);
    // Forget which files are GPU files (the cards changed).
    void rescan() { m_scanDue = true; }

    // Percent busy of card `index` over the last cycle: absent before two
    // readings, while it sleeps, and when no readable client reports engines.
    std::optional<double> cardBusy(std::size_t index) const;
    // Every process with a GPU file, busiest first.
    GpuProcesses processes() const;

private:
    struct OpenFile {
        int pid = 0;
        std::string fd;
        std::size_t card = 0;
    };
    struct Reading {
        int pid = 0;
        std::vector<DrmEngineCounter> engines;
    };
    using ClientKey = std::pair<std::size_t, std::uint64_t>; // card, drm-client-id

    void scanOpenFiles(const std::vector<ClientCard>& cards);
    std::map<ClientKey, Reading> readClients(const std::vector<ClientCard>& cards);
    void account(const std::map<ClientKey, Reading>& now, double elapsed,
                 const std::vector<ClientCard>& cards);

    RootPath m_root;
    double m_fileScanSeconds;
    bool m_scanDue = true;
    double m_scannedAt = 0.0;
    std::vector<OpenFile> m_files;
    std::map<int, std::string> m_names;
    int m_unreadable = 0;
    std::map<ClientKey, Reading> m_previous;
    std::optional<double> m_previousAt;
    std::vector<std::optional<double>> m_cardBusy;
    std::vector<GpuProcess> m_processes;
    std::string m_buffer;
};

// A process name with control characters (escape sequences) made harmless.
std::string printableName(std::string_view name);

} // namespace pw::platform::gpu
