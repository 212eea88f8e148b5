#include "platform/linux/gpu/drm_clients.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"
#include "platform/linux/text_scan.h"

#include <algorithm>

namespace pw::platform::gpu {

namespace {

constexpr std::string_view kDriNodes = "/dev/dri/";

std::optional<std::size_t> cardOfNode(const std::vector<ClientCard>& cards, std::string_view node) {
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (std::find(cards[i].nodes.begin(), cards[i].nodes.end(), node) != cards[i].nodes.end()) {
            return i;
        }
    }
    return std::nullopt;
}

// Per engine class, the summed shares of some clients.
using EngineShares = std::map<std::string, double>;

void addShares(EngineShares& shares, const std::vector<DrmEngineCounter>& before,
               const std::vector<DrmEngineCounter>& now, double elapsed) {
    for (const DrmEngineCounter& engine : now) {
        const auto old = std::find_if(before.begin(), before.end(),
                                      [&](const auto& e) { return e.name == engine.name; });
        const auto share =
            old == before.end() ? std::optional<double>(0.0) : engineShare(*old, engine, elapsed);
        if (share) {
            shares[engine.name] += *share;
        }
    }
}

double busiest(const EngineShares& shares) {
    double most = 0.0;
    for (const auto& [name, share] : shares) {
        most = std::max(most, share);
    }
    return std::min(most, 1.0) * 100.0;
}

} // namespace

std::string printableName(std::string_view name) {
    std::string out(trimmed(name));
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return out;
}

DrmClientTracker::DrmClientTracker(RootPath root, double fileScanSeconds)
    : m_root(std::move(root)), m_fileScanSeconds(fileScanSeconds) {}

void DrmClientTracker::scanOpenFiles(const std::vector<ClientCard>& cards) {
    m_files.clear();
    m_names.clear();
    m_unreadable = 0;
    const std::string procDir = m_root.proc("");
    forEachDirectoryEntry(procDir, [&](std::string_view entry) {
        const auto pid = wholeNumber<int>(entry);
        if (!pid) {
            return;
        }
        const std::string pidDir = procDir + std::string(entry) + "/";
        bool usesGpu = false;
        const bool listed =
            forEachDirectoryEntryWithFd(pidDir + "fd/", [&](int dirFd, std::string_view fd) {
                const auto target = readSymlinkAt(dirFd, std::string(fd).c_str());
                if (!target || !target->starts_with(kDriNodes)) {
                    return;
                }
                if (const auto card = cardOfNode(cards, baseName(*target))) {
                    m_files.push_back(OpenFile{*pid, std::string(fd), *card});
                    usesGpu = true;
                }
            });
        if (!listed) {
            ++m_unreadable;
        } else if (usesGpu) {
            const auto comm = readFile(pidDir + "comm", m_buffer);
            m_names[*pid] = printableName(comm.value_or(std::string_view(entry)));
        }
    });
}

std::map<DrmClientTracker::ClientKey, DrmClientTracker::Reading>
DrmClientTracker::readClients(const std::vector<ClientCard>& cards) {
    std::map<ClientKey, Reading> readings;
    std::erase_if(m_files, [&](const OpenFile& file) {
        if (file.card >= cards.size()) {
            return true;
        }
        const ClientCard& card = cards[file.card];
        if (card.asleep) {
            return false; // kept for when it wakes, not read now
        }
        const auto text =
            readFile(m_root.proc(std::to_string(file.pid) + "/fdinfo/" + file.fd), m_buffer);
        const auto info = text ? parseDrmFdinfo(*text) : std::nullopt;
        // Gone, or the number now names another file.
        if (!info ||
            (!info->pdev.empty() && !card.pciAddress.empty() && info->pdev != card.pciAddress)) {
            return true;
        }
        // Files dup()ed or shared with a child are one client.
        readings.try_emplace(ClientKey{file.card, info->clientId},
                             Reading{file.pid, info->engines});
        return false;
    });
    return readings;
}

void DrmClientTracker::account(const std::map<ClientKey, Reading>& now, double elapsed,
                               const std::vector<ClientCard>& cards) {
    std::vector<EngineShares> cardShares(cards.size());
    std::vector<bool> reporting(cards.size(), false);
    std::map<std::pair<int, std::size_t>, EngineShares> processShares; // pid, card
    for (const auto& [key, reading] : now) {
        const auto before = m_previous.find(key);
        // A client first seen this cycle counts from now on.
        const auto& base = before == m_previous.end() ? reading.engines : before->second.engines;
        EngineShares& shares = processShares[{reading.pid, key.first}];
        addShares(shares, base, reading.engines, elapsed);
        addShares(cardShares[key.first], base, reading.engines, elapsed);
        reporting[key.first] = reporting[key.first] || !reading.engines.empty();
    }
    m_cardBusy.assign(cards.size(), std::nullopt);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (reporting[i] && !cards[i].asleep) {
            m_cardBusy[i] = busiest(cardShares[i]);
        }
    }
    m_processes.clear();
    for (const auto& [owner, shares] : processShares) {
        if (shares.empty()) {
            continue; // its driver reports no engines: no figure, not a zero
        }
        const auto name = m_names.find(owner.first);
        m_processes.push_back(GpuProcess{owner.first,
                                         name == m_names.end() ? std::string() : name->second,
                                         cards[owner.second].card, busiest(shares)});
    }
    std::stable_sort(
        m_processes.begin(), m_processes.end(),
        [](const GpuProcess& a, const GpuProcess& b) { return a.busyPercent > b.busyPercent; });
}

void DrmClientTracker::sample(double nowSeconds, const std::vector<ClientCard>& cards) {
    if (std::all_of(cards.begin(), cards.end(), [](const ClientCard& c) { return c.asleep; })) {
        // No card to read clients of (or none at all): no walk over /proc.
        m_cardBusy.assign(cards.size(), std::nullopt);
        m_processes.clear();
        m_previous.clear();
        m_previousAt.reset();
        return;
    }
    if (m_scanDue || nowSeconds - m_scannedAt >= m_fileScanSeconds || nowSeconds < m_scannedAt) {
        scanOpenFiles(cards);
        m_scanDue = false;
        m_scannedAt = nowSeconds;
    }
    std::map<ClientKey, Reading> now = readClients(cards);
    const std::optional<double> elapsed =
        m_previousAt ? std::optional<double>(nowSeconds - *m_previousAt) : std::nullopt;
    if (elapsed && *elapsed > 0.0) {
        account(now, *elapsed, cards);
    } else {
        m_cardBusy.assign(cards.size(), std::nullopt);
        m_processes.clear();
    }
    m_previous = std::move(now);
    m_previousAt = nowSeconds;
}

std::optional<double> DrmClientTracker::cardBusy(std::size_t index) const {
    return index < m_cardBusy.size() ? m_cardBusy[index] : std::nullopt;
}

GpuProcesses DrmClientTracker::processes() const {
    return GpuProcesses{m_processes, m_unreadable};
}

} // namespace pw::platform::gpu
