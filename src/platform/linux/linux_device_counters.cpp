// The per-process resources, clock, GPU, NPU, disk, route, connection and fan
// readings. Each keeps which files exist in a cache renewed at the rescan
// interval, so a call is a few small reads and never a directory scan.
#include "platform/linux/device_parsers.h"
#include "platform/linux/file_reader.h"
#include "platform/linux/linux_system_counters.h"
#include "platform/linux/numbered_entries.h"
#include "platform/linux/proc_parsers.h"

#include <unistd.h>

namespace pw::platform {

namespace {

std::string baseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Enough for the first few hundred rows; a server's tables run to megabytes.
constexpr std::size_t kTcpTableReadLimit = 64 * 1024;

} // namespace

// --- Processes -------------------------------------------------------------

ProcessResources LinuxSystemCounters::processResources(int pid) {
    ProcessResources resources;
    const std::string dir = procDir_ + std::to_string(pid) + "/";
    if (const auto text = readFile(dir + "statm", processBuffer_)) {
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        if (const auto pages = parseStatmResidentPages(*text); pages && pageSize > 0) {
            resources.residentBytes = *pages * static_cast<std::uint64_t>(pageSize);
        }
    }
    // Only the owner (or a privileged reader) may open another process's io.
    if (const auto text = readFile(dir + "io", processBuffer_)) {
        const ProcessIoBytes io = parseProcessIo(*text);
        resources.storageReadBytes = io.readBytes;
        resources.storageWrittenBytes = io.writeBytes;
    }
    return resources;
}

// --- CPU clock ---------------------------------------------------------------

void LinuxSystemCounters::scanClockPolicies() {
    clockPolicies_.clear();
    const std::string dir = cpuSysDir_ + "cpufreq/";
    for (const auto& [number, name] : numberedEntries(dir, "policy")) {
        const std::string policy = dir + name + "/";
        if (!pathExists(policy + "scaling_cur_freq")) {
            continue;
        }
        int cpus = 1;
        if (const auto text = readFile(policy + "affected_cpus", buffer_)) {
            // affected_cpus is space separated ("0 1 2 3"), unlike the range lists.
            int count = 0;
            bool inNumber = false;
            for (const char c : *text) {
                const bool digit = c >= '0' && c <= '9';
                count += digit && !inNumber ? 1 : 0;
                inNumber = digit;
            }
            cpus = count > 0 ? count : 0; // an empty list: every CPU of it is offline
        }
        if (cpus > 0) {
            clockPolicies_.push_back(ClockPolicy{policy + "scaling_cur_freq", cpus});
        }
    }
    markScanned(clockScan_);
}

std::optional<double> LinuxSystemCounters::cpuClockMHz() {
    if (isStale(clockScan_)) {
        scanClockPolicies();
    }
    double weighted = 0.0;
    int cpus = 0;
    for (const ClockPolicy& policy : clockPolicies_) {
        const auto text = readFile(policy.path, buffer_);
        if (const auto mhz = text ? parseKHzAsMHz(*text) : std::nullopt) {
            weighted += *mhz * policy.cpuCount;
            cpus += policy.cpuCount;
        }
    }
    if (cpus > 0) {
        return weighted / cpus;
    }
    // No cpufreq (VMs, some x86 without a driver): cpuinfo is long and costly to
    // generate, so read it at most once per rescan interval.
    if (isStale(cpuinfoRead_)) {
        const auto text = readFile(procDir_ + "cpuinfo", buffer_);
        cpuinfoMHz_ = text ? parseCpuinfoMHz(*text) : std::nullopt;
        markScanned(cpuinfoRead_);
    }
    return cpuinfoMHz_;
}

// --- GPU and NPU -------------------------------------------------------------

void LinuxSystemCounters::scanGpu() {
    gpu_.reset();
    const std::string drmDir = root_ + "sys/class/drm/";
    std::optional<GpuFiles> first;
    for (const auto& [number, name] : numberedEntries(drmDir, "card")) {
        const std::string deviceDir = drmDir + name + "/device/";
        if (!pathExists(deviceDir)) {
            continue;
        }
        GpuFiles files;
        files.deviceDir = deviceDir;
        if (const auto driver = readSymlink(deviceDir + "driver")) {
            files.name = baseName(*driver);
        }
        const std::string hwmonDir = deviceDir + "hwmon/";
        for (const auto& [hwmonNumber, hwmon] : numberedEntries(hwmonDir, "hwmon")) {
            if (pathExists(hwmonDir + hwmon + "/temp1_input")) {
                files.temperaturePath = hwmonDir + hwmon + "/temp1_input";
                break;
            }
        }
        // Hybrid machines list the integrated GPU first; the one reporting its
        // load is the more useful figure.
        if (pathExists(deviceDir + "gpu_busy_percent")) {
            gpu_ = std::move(files);
            break;
        }
        if (!first) {
            first = std::move(files);
        }
    }
    if (!gpu_) {
        gpu_ = std::move(first);
    }
    markScanned(gpuScan_);
}

std::optional<GpuCounters> LinuxSystemCounters::gpu() {
    if (isStale(gpuScan_)) {
        scanGpu();
    }
    if (!gpu_) {
        return std::nullopt;
    }
    GpuCounters counters;
    counters.name = gpu_->name;
    const auto number = [&](const std::string& file) -> std::optional<std::int64_t> {
        const auto text = readFile(gpu_->deviceDir + file, buffer_);
        const auto value = text ? parseInteger(*text) : std::nullopt;
        return value && *value >= 0 ? value : std::nullopt;
    };
    if (const auto busy = number("gpu_busy_percent")) {
        counters.busyPercent = static_cast<double>(*busy);
    }
    if (const auto busy = number("mem_busy_percent")) {
        counters.memoryBusyPercent = static_cast<double>(*busy);
    }
    if (const auto used = number("mem_info_vram_used")) {
        counters.vramUsedBytes = static_cast<std::uint64_t>(*used);
    }
    if (const auto total = number("mem_info_vram_total")) {
        counters.vramTotalBytes = static_cast<std::uint64_t>(*total);
    }
    if (!gpu_->temperaturePath.empty()) {
        if (const auto text = readFile(gpu_->temperaturePath, buffer_)) {
            counters.temperatureCelsius = parseMilliCelsius(*text);
        }
    }
    return counters;
}

std::optional<std::uint64_t> LinuxSystemCounters::npuBusyMicroseconds() {
    if (isStale(npuScan_)) {
        npuPath_.reset();
        const std::string accelDir = root_ + "sys/class/accel/";
        for (const auto& [number, name] : numberedEntries(accelDir, "accel")) {
            const std::string path = accelDir + name + "/device/npu_busy_time_us";
            if (pathExists(path)) {
                npuPath_ = path;
                break;
            }
        }
        markScanned(npuScan_);
    }
    if (!npuPath_) {
        return std::nullopt;
    }
    const auto text = readFile(*npuPath_, buffer_);
    const auto value = text ? parseInteger(*text) : std::nullopt;
    if (!value || *value < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*value);
}

// --- Root volume -------------------------------------------------------------

void LinuxSystemCounters::scanRootVolume() {
    volume_.reset();
    markScanned(volumeScan_);
    const auto text = readFile(procDir_ + "self/mountinfo", buffer_);
    const auto mount = text ? parseRootMount(*text) : std::nullopt;
    if (!mount) {
        return;
    }
    VolumeIdentity volume;
    volume.sourceName = mount->source.starts_with("/dev/") ? baseName(mount->source) : "";
    // The device number names the block device even for /dev/root or a
    // /dev/mapper alias; major 0 is a virtual device (btrfs, overlay).
    if (mount->major != 0) {
        const std::string link = root_ + "sys/dev/block/" + std::to_string(mount->major) + ":" +
                                 std::to_string(mount->minor);
        if (const auto target = readSymlink(link)) {
            volume.device = baseName(*target);
        }
    }
    if (volume.device.empty() && !volume.sourceName.empty() &&
        pathExists(root_ + "sys/class/block/" + volume.sourceName)) {
        volume.device = volume.sourceName;
    }

    const std::string labelDir = root_ + "dev/disk/by-label/";
    if (!volume.device.empty()) {
        forEachDirectoryEntry(labelDir, [&](std::string_view label) {
            const auto target = readSymlink(labelDir + std::string(label));
            if (volume.name.empty() && target && baseName(*target) == volume.device) {
                volume.name = decodeEscapes(label);
            }
        });
    }
    if (volume.name.empty()) {
        volume.name = "/";
    }

    if (!volume.device.empty()) {
        // A partition has no queue of its own: its disk's is one level up.
        const std::string blockDir = root_ + "sys/class/block/" + volume.device + "/";
        const std::string queue = pathExists(blockDir + "partition") ? "../queue/" : "queue/";
        const auto rotational = readTrimmed(blockDir + queue + "rotational");
        if (rotational == "0" || rotational == "1") {
            volume.rotational = *rotational == "1";
        }
    }
    volume_ = std::move(volume);
}

std::optional<VolumeSpace> LinuxSystemCounters::rootVolume() {
    if (isStale(volumeScan_)) {
        scanRootVolume();
    }
    const auto space = fileSystemSpace(root_);
    if (!space) {
        return std::nullopt;
    }
    VolumeSpace volume;
    volume.mountPoint = "/";
    volume.name = volume_ ? volume_->name : "/";
    if (volume_) {
        volume.device = volume_->device;
        volume.rotational = volume_->rotational;
    }
    volume.totalBytes = space->totalBytes;
    volume.availableBytes = std::min(space->availableBytes, space->totalBytes);
    return volume;
}

std::optional<BlockDeviceCounters> LinuxSystemCounters::rootBlockDevice() {
    if (isStale(volumeScan_)) {
        scanRootVolume();
    }
    if (!volume_ || (volume_->device.empty() && volume_->sourceName.empty())) {
        return std::nullopt;
    }
    const auto text = readFile(procDir_ + "diskstats", buffer_);
    if (!text) {
        return std::nullopt;
    }
    const std::string& device = volume_->device.empty() ? volume_->sourceName : volume_->device;
    return parseDiskstats(*text, device);
}

// --- Network -----------------------------------------------------------------

std::optional<DefaultRoute> LinuxSystemCounters::defaultRoute() {
    const auto routeText = readFile(procDir_ + "net/route", buffer_);
    if (!routeText) {
        return std::nullopt;
    }
    const std::vector<RouteRow> routes = parseRouteTable(*routeText);
    const auto interfaceName = defaultRouteInterface(routes);
    if (!interfaceName) {
        return std::nullopt;
    }
    DefaultRoute route;
    route.interfaceName = *interfaceName;
    const std::string classDir = netClassDir_ + *interfaceName + "/";
    route.wireless = pathExists(classDir + "wireless") || pathExists(classDir + "phy80211");
    if (const auto trie = readFile(procDir_ + "net/fib_trie", buffer_)) {
        if (const auto address =
                interfaceAddress(routes, parseFibTrieLocalAddresses(*trie), *interfaceName)) {
            route.ipv4Address = formatIPv4(*address);
        }
    }
    return route;
}

std::optional<std::vector<TcpConnection>>
LinuxSystemCounters::establishedTcpConnections(std::size_t limit) {
    std::vector<TcpConnection> remote;
    std::vector<TcpConnection> loopback;
    bool readAny = false;
    for (const bool ipv6 : {false, true}) {
        if (remote.size() >= limit) {
            break;
        }
        bool truncated = false;
        auto text = readFilePrefix(procDir_ + (ipv6 ? "net/tcp6" : "net/tcp"), tcpBuffer_,
                                   kTcpTableReadLimit, truncated);
        if (!text) {
            continue;
        }
        readAny = true;
        if (truncated) {
            text = text->substr(0, text->rfind('\n') + 1); // drop the row cut in half
        }
        for (TcpConnection& connection : parseTcpTable(*text, ipv6)) {
            // Local services talking to each other say little about the machine's
            // network: outside peers come first.
            auto& into = isLoopbackAddress(connection.remoteAddress) ? loopback : remote;
            if (into.size() < limit) {
                into.push_back(std::move(connection));
            }
        }
    }
    if (!readAny) {
        return std::nullopt;
    }
    for (TcpConnection& connection : loopback) {
        if (remote.size() >= limit) {
            break;
        }
        remote.push_back(std::move(connection));
    }
    return remote;
}

// --- Fans ----------------------------------------------------------------------

void LinuxSystemCounters::scanFans() {
    fans_.clear();
    for (const auto& [number, hwmon] : numberedEntries(hwmonDir_, "hwmon")) {
        const std::string dir = hwmonDir_ + hwmon + "/";
        const auto inputs = numberedEntries(dir, "fan", "_input");
        if (inputs.empty()) {
            continue;
        }
        const std::string chip = readTrimmed(dir + "name").value_or(hwmon);
        for (const auto& [fan, input] : inputs) {
            const std::string fanName = "fan" + std::to_string(fan);
            auto label = readTrimmed(dir + fanName + "_label");
            fans_.push_back(
                FanFiles{dir + input, label && !label->empty() ? *label : chip + " " + fanName});
        }
    }
    markScanned(fanScan_);
}

std::vector<FanReading> LinuxSystemCounters::fans() {
    if (isStale(fanScan_)) {
        scanFans();
    }
    std::vector<FanReading> readings;
    readings.reserve(fans_.size());
    for (const FanFiles& fan : fans_) {
        const auto text = readFile(fan.inputPath, buffer_);
        const auto rpm = text ? parseInteger(*text) : std::nullopt;
        if (rpm && *rpm >= 0) {
            readings.push_back(FanReading{fan.label, *rpm});
        }
    }
    return readings;
}

} // namespace pw::platform
