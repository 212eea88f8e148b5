#include "platform/linux/linux_storage_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/storage_parsers.h"
#include "platform/linux/sysfs_files.h"

#include <algorithm>
#include <utility>

namespace pw::platform {

LinuxStorageSource::LinuxStorageSource(RootPath root, std::shared_ptr<Clock> clock)
    : m_root(std::move(root)), m_clock(std::move(clock)),
      m_mountinfo(m_root.proc("self/mountinfo")), m_diskstats(m_root.proc("diskstats")) {}

std::string LinuxStorageSource::labelOf(const std::string& device) {
    const std::string labelDir = m_root.dev("disk/by-label/");
    std::string name;
    forEachDirectoryEntry(labelDir, [&](std::string_view label) {
        const auto target = readSymlink(labelDir + std::string(label));
        if (name.empty() && target && baseName(*target) == device) {
            name = decodeEscapes(label);
        }
    });
    return name;
}

// A partition has no queue of its own: its disk's is one level up.
std::optional<bool> LinuxStorageSource::isRotational(const std::string& device) {
    const std::string blockDir = m_root.sys("class/block/") + device + "/";
    const std::string queue = pathExists(blockDir + "partition") ? "../queue/" : "queue/";
    const auto rotational = readTrimmed(blockDir + queue + "rotational", m_buffer);
    if (rotational == "0" || rotational == "1") {
        return *rotational == "1";
    }
    return std::nullopt;
}

std::optional<LinuxStorageSource::VolumeIdentity> LinuxStorageSource::scanRootVolume() {
    const auto text = m_mountinfo.read(m_buffer);
    if (!text) {
        m_mountTable.clear();
        return m_foundIdentity = std::nullopt;
    }
    // While the mount table stays as it was, so does the root's device: the
    // links, labels and queue files behind it are not walked again.
    if (*text == m_mountTable && !m_mountTable.empty()) {
        return m_foundIdentity;
    }
    m_mountTable.assign(*text);
    const auto mount = parseRootMount(*text);
    if (!mount) {
        return m_foundIdentity = std::nullopt;
    }
    VolumeIdentity volume;
    volume.sourceName = mount->source.starts_with("/dev/") ? baseName(mount->source) : "";
    // The device number names the block device even for /dev/root or a
    // /dev/mapper alias; major 0 is a virtual device (btrfs, overlay).
    if (mount->major != 0) {
        const std::string link = m_root.sys("dev/block/") + std::to_string(mount->major) + ":" +
                                 std::to_string(mount->minor);
        if (const auto target = readSymlink(link)) {
            volume.device = baseName(*target);
        }
    }
    if (volume.device.empty() && !volume.sourceName.empty() &&
        pathExists(m_root.sys("class/block/") + volume.sourceName)) {
        volume.device = volume.sourceName;
    }
    if (!volume.device.empty()) {
        volume.name = labelOf(volume.device);
        volume.rotational = isRotational(volume.device);
    }
    if (volume.name.empty()) {
        volume.name = "/";
    }
    return m_foundIdentity = volume;
}

const std::optional<LinuxStorageSource::VolumeIdentity>& LinuxStorageSource::identity() {
    return m_identity.get(m_clock->monotonicSeconds(), [&] { return scanRootVolume(); });
}

std::optional<VolumeSpace> LinuxStorageSource::rootVolume() {
    const auto& identity = this->identity();
    const auto space = fileSystemSpace(m_root.prefix().empty() ? "/" : m_root.prefix());
    if (!space) {
        return std::nullopt;
    }
    VolumeSpace volume;
    volume.mountPoint = "/";
    volume.name = identity ? identity->name : "/";
    if (identity) {
        volume.device = identity->device;
        volume.rotational = identity->rotational;
    }
    volume.totalBytes = space->totalBytes;
    volume.availableBytes = std::min(space->availableBytes, space->totalBytes);
    return volume;
}

std::optional<BlockDeviceCounters> LinuxStorageSource::rootBlockDevice() {
    const auto& identity = this->identity();
    if (!identity || (identity->device.empty() && identity->sourceName.empty())) {
        return std::nullopt;
    }
    const auto text = m_diskstats.read(m_buffer);
    if (!text) {
        return std::nullopt;
    }
    return parseDiskstats(*text,
                          identity->device.empty() ? identity->sourceName : identity->device);
}

} // namespace pw::platform
