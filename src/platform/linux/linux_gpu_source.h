#pragma once

#include "platform/clock.h"
#include "platform/gpu_source.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"

#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// Every /sys/class/drm/card<N> with a device behind it (connectors such as
// card0-DP-1 and render nodes are not GPUs), with the figures its driver
// offers: amdgpu's busy and VRAM files, the temperature, power, clock and fan of
// its hwmon folder. A card asleep in runtime suspend is reported as such and
// nothing else of it is read, since reading would wake it. The NPU's busy time
// comes from /sys/class/accel. Which cards and files exist is rescanned every
// 10 s.
class LinuxGpuSource : public GpuSource {
public:
    LinuxGpuSource(RootPath root, std::shared_ptr<Clock> clock);

    std::vector<GpuDevice> gpus() override;
    std::optional<std::uint64_t> npuBusyMicroseconds() override;

private:
    // What a card is and where its figures are; empty paths are not offered.
    struct Card {
        GpuDevice identity; // card, driver, name, pciAddress, integrated
        std::string deviceDir;
        std::string temperaturePath;
        std::string powerPath;
        std::string clockPath;
        std::string fanPath;
    };
    std::vector<Card> scanCards();
    std::optional<Card> scanCard(const std::string& cardDir, const std::string& card);
    void findHwmonFiles(Card& card);
    GpuDevice read(const Card& card);
    std::optional<std::string> scanNpu();

    RootPath m_root;
    std::shared_ptr<Clock> m_clock;
    std::string m_buffer;
    RescanCache<std::vector<Card>> m_cards;
    RescanCache<std::optional<std::string>> m_npuPath;
};

} // namespace pw::platform
