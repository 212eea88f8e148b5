#pragma once

#include "platform/clock.h"
#include "platform/linux/kernel_file.h"
#include "platform/rescan_cache.h"
#include "platform/root_path.h"
#include "platform/storage_source.h"

#include <memory>
#include <string>

namespace pw::platform {

// The root volume: which block device and label it has (from mountinfo, the
// device number's link and /dev/disk/by-label, looked up again when mountinfo
// has changed, checked every 10 s), its space from statvfs and its traffic
// from /proc/diskstats.
class LinuxStorageSource : public StorageSource {
public:
    LinuxStorageSource(RootPath root, std::shared_ptr<Clock> clock);

    std::optional<VolumeSpace> rootVolume() override;
    std::optional<BlockDeviceCounters> rootBlockDevice() override;

private:
    struct VolumeIdentity {
        std::string name;
        std::string device;
        std::string sourceName; // basename of the mount source, for major-0 roots
        std::optional<bool> rotational;
    };
    std::optional<VolumeIdentity> scanRootVolume();
    const std::optional<VolumeIdentity>& identity();
    std::string labelOf(const std::string& device);
    std::optional<bool> isRotational(const std::string& device);

    RootPath m_root;
    std::shared_ptr<Clock> m_clock;
    std::string m_buffer;
    KernelFile m_mountinfo;
    KernelFile m_diskstats;
    std::string m_mountTable; // what the last identity was found from
    std::optional<VolumeIdentity> m_foundIdentity;
    RescanCache<std::optional<VolumeIdentity>> m_identity;
};

} // namespace pw::platform
