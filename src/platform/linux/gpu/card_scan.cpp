#include "platform/linux/gpu/card_scan.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"
#include "platform/linux/sysfs_parsers.h"
#include "platform/linux/text_scan.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace pw::platform::gpu {

namespace {

// Firmware framebuffers get a card too, but draw nothing themselves.
bool isFramebufferDriver(std::string_view driver) {
    return driver == "simple-framebuffer" || driver == "efi-framebuffer";
}

// The device folder a class/drm link leads to: ".../0000:03:00.0" of
// "../../devices/pci0000:00/0000:03:00.0/drm/card1".
std::optional<std::string> ownerOfNode(const std::string& link) {
    const auto target = readSymlink(link);
    if (!target) {
        return std::nullopt;
    }
    const std::size_t drm = target->rfind("/drm/");
    if (drm == std::string::npos) {
        return std::nullopt;
    }
    return target->substr(0, drm);
}

std::optional<CardPaths> scanCard(const std::string& drmDir, const std::string& name,
                                  std::string& buffer) {
    CardPaths card;
    card.cardDir = drmDir + name + "/";
    card.deviceDir = card.cardDir + "device/";
    if (!pathExists(card.deviceDir)) {
        return std::nullopt; // a virtual card without hardware
    }
    GpuDevice& identity = card.identity;
    identity.card = name;
    if (const auto driver = readSymlink(card.deviceDir + "driver")) {
        identity.driver = baseName(*driver);
    }
    if (isFramebufferDriver(identity.driver)) {
        return std::nullopt;
    }
    std::optional<std::uint16_t> vendor;
    std::optional<std::uint16_t> device;
    if (const auto link = readSymlink(card.cardDir + "device");
        link && isPciAddress(baseName(*link))) {
        identity.pciAddress = baseName(*link);
        const auto vendorText = readTrimmed(card.deviceDir + "vendor", buffer);
        vendor = vendorText ? parsePciId(*vendorText) : std::nullopt;
        const auto deviceText = readTrimmed(card.deviceDir + "device", buffer);
        device = deviceText ? parsePciId(*deviceText) : std::nullopt;
    }
    identity.name = gpuName(identity.driver.empty() ? name : identity.driver, vendor, device);
    // A GPU on the root bus (Intel's 00:02.0) or not on PCI at all (an SoC's)
    // is part of the processor package and shares its memory.
    identity.integrated =
        identity.pciAddress.empty() || identity.pciAddress.compare(5, 2, "00") == 0;
    return card;
}

// Render nodes belong to the card whose device folder they share.
void assignRenderNodes(const std::string& drmDir, std::vector<CardPaths>& cards) {
    std::vector<std::pair<std::string, std::size_t>> owners; // device folder, card index
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (auto owner = ownerOfNode(drmDir + cards[i].identity.card)) {
            owners.emplace_back(std::move(*owner), i);
        }
    }
    for (const auto& [number, name] : numberedEntries(drmDir, "renderD")) {
        const auto owner = ownerOfNode(drmDir + name);
        const auto found = std::find_if(owners.begin(), owners.end(),
                                        [&](const auto& entry) { return entry.first == owner; });
        if (owner && found != owners.end()) {
            cards[found->second].nodes.push_back(name);
        }
    }
}

} // namespace

CardScan scanCards(const RootPath& root, std::string& buffer) {
    CardScan scan;
    const std::string drmDir = root.sys("class/drm/");
    for (const auto& [number, name] : numberedEntries(drmDir, "card")) {
        if (auto card = scanCard(drmDir, name, buffer)) {
            card->nodes.push_back(name);
            scan.cards.push_back(std::move(*card));
        }
    }
    assignRenderNodes(drmDir, scan.cards);

    forEachDirectoryEntry(root.sys("bus/pci/drivers/nvidia/"), [&](std::string_view entry) {
        if (isPciAddress(entry)) {
            scan.nvidiaAddresses.emplace_back(entry);
        }
    });
    for (const CardPaths& card : scan.cards) {
        if (card.identity.driver == "nvidia" && !card.identity.pciAddress.empty()) {
            scan.nvidiaAddresses.push_back(card.identity.pciAddress);
        }
    }
    std::sort(scan.nvidiaAddresses.begin(), scan.nvidiaAddresses.end());
    scan.nvidiaAddresses.erase(
        std::unique(scan.nvidiaAddresses.begin(), scan.nvidiaAddresses.end()),
        scan.nvidiaAddresses.end());
    return scan;
}

bool runtimeStatusAsleep(std::string_view text) {
    text = trimmed(text);
    return text == "suspended" || text == "suspending";
}

bool powerStateAsleep(std::string_view text) {
    return trimmed(text) == "D3cold";
}

bool deviceAsleep(const std::string& deviceDir, std::string& buffer) {
    if (const auto status = readFile(deviceDir + "power/runtime_status", buffer);
        status && runtimeStatusAsleep(*status)) {
        return true;
    }
    const auto state = readFile(deviceDir + "power_state", buffer);
    return state && powerStateAsleep(*state);
}

} // namespace pw::platform::gpu
