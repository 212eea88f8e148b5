#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pw::platform {

// The volume mounted at "/".
struct VolumeSpace {
    std::string name;       // its filesystem label, else its mount point
    std::string mountPoint; // "/"
    std::string device;     // block device name, e.g. "nvme0n1p2"; empty when none
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0; // to unprivileged users
    std::optional<bool> rotational;   // the disk behind it spins
};

// Cumulative sectors (512 bytes each, whatever the device's own size) moved by
// one block device since boot.
struct BlockDeviceCounters {
    std::string device;
    std::uint64_t sectorsRead = 0;
    std::uint64_t sectorsWritten = 0;
};

class StorageSource {
public:
    virtual ~StorageSource() = default;
    virtual std::optional<VolumeSpace> rootVolume() = 0;
    // The block device of the root volume.
    virtual std::optional<BlockDeviceCounters> rootBlockDevice() = 0;
};

} // namespace pw::platform
