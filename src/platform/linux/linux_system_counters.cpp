#include "platform/linux/linux_system_counters.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/numbered_entries.h"
#include "platform/linux/proc_parsers.h"

#include <algorithm>
#include <utility>

#include <time.h>
#include <unistd.h>

namespace pw::platform {

namespace {

bool isAllDigits(std::string_view name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The cache clock; not the virtual monotonicSeconds(), so a subclass with a test
// clock does not freeze the caches.
double steadySeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string normalizedRoot(std::string root) {
    if (root.empty() || root.back() != '/') {
        root.push_back('/');
    }
    return root;
}

} // namespace

LinuxSystemCounters::LinuxSystemCounters(std::string root)
    : root_(normalizedRoot(std::move(root))), procStatPath_(root_ + "proc/stat"),
      meminfoPath_(root_ + "proc/meminfo"), netDevPath_(root_ + "proc/net/dev"),
      netClassDir_(root_ + "sys/class/net/"), blockDir_(root_ + "sys/block/"),
      powerSupplyDir_(root_ + "sys/class/power_supply/"), hwmonDir_(root_ + "sys/class/hwmon/"),
      thermalDir_(root_ + "sys/class/thermal/"), procDir_(root_ + "proc/"),
      cpuSysDir_(root_ + "sys/devices/system/cpu/"), random_(std::random_device{}()) {}

bool LinuxSystemCounters::isStale(const ScanTime& scan) {
    return !scan.done || steadySeconds() - scan.at >= rescanInterval_;
}

void LinuxSystemCounters::markScanned(ScanTime& scan) {
    scan.done = true;
    scan.at = steadySeconds();
}

std::optional<std::string> LinuxSystemCounters::readTrimmed(const std::string& path) {
    const auto text = readFile(path, buffer_);
    if (!text) {
        return std::nullopt;
    }
    return std::string(trimmed(*text));
}

// --- CPU -------------------------------------------------------------------

std::optional<std::vector<CpuTicks>> LinuxSystemCounters::cpuTicks() {
    const auto text = readFile(procStatPath_, buffer_);
    if (!text) {
        return std::nullopt;
    }
    return parseCpuTicks(*text);
}

std::optional<std::vector<int>> LinuxSystemCounters::readCpuList(const std::string& path) {
    const auto text = readFile(path, buffer_);
    if (!text) {
        return std::nullopt;
    }
    return parseCpuList(*text);
}

std::optional<int> LinuxSystemCounters::onlineCpuCount() {
    if (const auto online = readCpuList(cpuSysDir_ + "online"); online && !online->empty()) {
        return static_cast<int>(online->size());
    }
    if (const auto rows = cpuTicks()) {
        return static_cast<int>(rows->size());
    }
    return std::nullopt;
}

// ARM big.LITTLE: every online CPU whose capacity is below the largest one is
// an efficiency core, the others performance cores. Absent when no capacities
// are published or all are equal.
std::optional<LinuxSystemCounters::CapacitySplit> LinuxSystemCounters::splitByCapacity() {
    const auto online = readCpuList(cpuSysDir_ + "online");
    const auto isOnline = [&](int cpu) {
        return !online || online->empty() ||
               std::binary_search(online->begin(), online->end(), cpu);
    };
    std::vector<std::pair<int, std::int64_t>> capacities;
    for (const auto& [cpu, name] : numberedEntries(cpuSysDir_, "cpu")) {
        if (!isOnline(cpu)) {
            continue;
        }
        const auto text = readFile(cpuSysDir_ + name + "/cpu_capacity", buffer_);
        if (const auto capacity = text ? parseInteger(*text) : std::nullopt) {
            capacities.emplace_back(cpu, *capacity);
        }
    }
    if (capacities.empty()) {
        return std::nullopt;
    }
    const auto top = std::max_element(capacities.begin(), capacities.end(), [](auto& a, auto& b) {
                         return a.second < b.second;
                     })->second;
    CapacitySplit split;
    for (const auto& [cpu, capacity] : capacities) {
        if (capacity < top) {
            split.efficiencyCpus.push_back(cpu);
        } else {
            ++split.performanceCount;
        }
    }
    if (split.efficiencyCpus.empty()) {
        return std::nullopt;
    }
    return split;
}

CoreTopology LinuxSystemCounters::coreTopology() {
    CoreTopology topology;
    // Intel hybrid parts publish one perf PMU per core type with its CPU list.
    const auto atom = readCpuList(root_ + "sys/devices/cpu_atom/cpus");
    const auto core = readCpuList(root_ + "sys/devices/cpu_core/cpus");
    if (atom && !atom->empty()) {
        topology.efficiencyCpus = *atom;
        topology.performanceLevel1 = static_cast<int>(atom->size());
        if (core) {
            topology.performanceLevel0 = static_cast<int>(core->size());
        } else if (const auto online = onlineCpuCount()) {
            topology.performanceLevel0 = std::max(0, *online - static_cast<int>(atom->size()));
        }
        return topology;
    }
    if (auto split = splitByCapacity()) {
        topology.performanceLevel1 = static_cast<int>(split->efficiencyCpus.size());
        topology.performanceLevel0 = split->performanceCount;
        topology.efficiencyCpus = std::move(split->efficiencyCpus);
        return topology;
    }
    topology.performanceLevel0 = onlineCpuCount();
    return topology;
}

// --- Memory ----------------------------------------------------------------

void LinuxSystemCounters::scanZramDevices() {
    zramStatPaths_.clear();
    for (const auto& [number, name] : numberedEntries(blockDir_, "zram")) {
        zramStatPaths_.push_back(blockDir_ + name + "/mm_stat");
    }
    markScanned(zramScan_);
}

std::optional<MemoryCounters> LinuxSystemCounters::memory() {
    const auto text = readFile(meminfoPath_, buffer_);
    if (!text) {
        pendingSwap_.reset();
        return std::nullopt;
    }
    const auto info = parseMeminfo(*text);
    pendingSwap_ = SwapFigures{info.swapTotal, info.swapFree, steadySeconds()};
    if (!info.memTotal) {
        return std::nullopt;
    }
    MemoryCounters counters;
    counters.totalBytes = *info.memTotal;
    counters.wiredBytes = info.sUnreclaim.value_or(0) + info.kernelStack.value_or(0) +
                          info.pageTables.value_or(0) + info.unevictable.value_or(0);
    counters.appBytes = info.anonPages.value_or(0);
    counters.compressedBytes = info.zswap.value_or(0);

    if (isStale(zramScan_)) {
        scanZramDevices();
    }
    for (const auto& path : zramStatPaths_) {
        const auto stat = readFile(path, buffer_);
        if (const auto used = stat ? parseZramMemUsed(*stat) : std::nullopt) {
            counters.compressedBytes += *used;
        }
    }
    return counters;
}

std::optional<std::uint64_t> LinuxSystemCounters::swapUsedBytes() {
    constexpr double sameCycleSeconds = 0.05;
    std::optional<SwapFigures> swap;
    swap.swap(pendingSwap_);
    if (!swap || steadySeconds() - swap->at > sameCycleSeconds) {
        const auto text = readFile(meminfoPath_, buffer_);
        if (!text) {
            return std::nullopt;
        }
        const auto info = parseMeminfo(*text);
        swap = SwapFigures{info.swapTotal, info.swapFree, 0.0};
    }
    if (!swap->total || !swap->free) {
        return std::nullopt;
    }
    return *swap->total > *swap->free ? *swap->total - *swap->free : 0;
}

// --- Network ---------------------------------------------------------------

std::optional<std::vector<InterfaceCounters>> LinuxSystemCounters::networkInterfaces() {
    const auto text = readFile(netDevPath_, buffer_);
    if (!text) {
        return std::nullopt;
    }
    auto interfaces = parseNetDev(*text);
    if (!interfaces) {
        return std::nullopt;
    }
    // Whether a name is a physical NIC does not change while it exists, so look
    // it up again only when the set of interfaces changes.
    const bool sameNames =
        interfaceNames_.size() == interfaces->size() &&
        std::equal(
            interfaces->begin(), interfaces->end(), interfaceNames_.begin(),
            [](const InterfaceCounters& row, const std::string& name) { return row.name == name; });
    if (!sameNames) {
        interfaceNames_.clear();
        deviceFlags_.clear();
        for (const auto& row : *interfaces) {
            interfaceNames_.push_back(row.name);
            deviceFlags_.push_back(row.name.find('/') == std::string::npos &&
                                   pathExists(netClassDir_ + row.name + "/device"));
        }
    }
    for (std::size_t i = 0; i < interfaces->size(); ++i) {
        (*interfaces)[i].backedByDevice = deviceFlags_[i];
    }
    return interfaces;
}

// --- Power supplies --------------------------------------------------------

void LinuxSystemCounters::scanPowerSupplies() {
    supplyNames_.clear();
    forEachDirectoryEntry(powerSupplyDir_,
                          [&](std::string_view name) { supplyNames_.emplace_back(name); });
    std::sort(supplyNames_.begin(), supplyNames_.end());
    markScanned(supplyScan_);
}

std::optional<PowerSupply> LinuxSystemCounters::readPowerSupply(const std::string& name) {
    const std::string dir = powerSupplyDir_ + name + "/";
    PowerSupply supply;
    if (const auto uevent = readFile(dir + "uevent", buffer_)) {
        supply = parsePowerSupplyUevent(*uevent);
        if (supply.type.empty()) {
            // Older kernels leave the type out of uevent.
            supply.type = readTrimmed(dir + "type").value_or(std::string());
        }
    } else {
        const auto type = readTrimmed(dir + "type");
        if (!type) {
            return std::nullopt;
        }
        supply.type = *type;
        supply.scope = readTrimmed(dir + "scope").value_or(std::string());
        supply.status = readTrimmed(dir + "status").value_or(std::string());
        const std::pair<const char*, std::optional<std::int64_t> PowerSupply::*> numbers[] = {
            {"capacity", &PowerSupply::capacity},      {"energy_now", &PowerSupply::energyNow},
            {"energy_full", &PowerSupply::energyFull}, {"charge_now", &PowerSupply::chargeNow},
            {"charge_full", &PowerSupply::chargeFull}, {"power_now", &PowerSupply::powerNow},
            {"voltage_now", &PowerSupply::voltageNow}, {"current_now", &PowerSupply::currentNow},
        };
        for (const auto& [file, member] : numbers) {
            const auto text = readFile(dir + file, buffer_);
            supply.*member = text ? parseInteger(*text) : std::nullopt;
        }
    }
    supply.name = name;
    return supply;
}

std::vector<PowerSupply> LinuxSystemCounters::powerSupplies() {
    if (isStale(supplyScan_)) {
        scanPowerSupplies();
    }
    std::vector<PowerSupply> supplies;
    supplies.reserve(supplyNames_.size());
    bool vanished = false;
    for (const auto& name : supplyNames_) {
        if (auto supply = readPowerSupply(name)) {
            supplies.push_back(std::move(*supply));
        } else {
            vanished = true;
        }
    }
    if (vanished) {
        supplyScan_.done = false; // an unplugged mouse or UPS: look again next time
    }
    return supplies;
}

// --- Temperature -----------------------------------------------------------

void LinuxSystemCounters::appendHwmonSensors(std::vector<ThermalSensor>& sensors,
                                             const std::string& dir) {
    const auto inputs = numberedEntries(dir, "temp", "_input");
    if (inputs.empty()) {
        return;
    }
    const auto chip = readTrimmed(dir + "name");
    for (const auto& [number, file] : inputs) {
        ThermalSensor sensor;
        sensor.productName = chip.value_or(std::string());
        const auto label = readTrimmed(dir + "temp" + std::to_string(number) + "_label");
        if (label && !label->empty()) {
            sensor.productName += sensor.productName.empty() ? *label : " " + *label;
        }
        sensor.handle = dir + file;
        sensors.push_back(std::move(sensor));
    }
}

void LinuxSystemCounters::scanThermalSensors() {
    const bool hasHwmon = pathExists(hwmonDir_);
    const bool hasThermal = pathExists(thermalDir_);
    markScanned(sensorScan_);
    if (!hasHwmon && !hasThermal) {
        sensors_.reset();
        return;
    }
    std::vector<ThermalSensor> sensors;
    for (const auto& [number, name] : numberedEntries(hwmonDir_, "hwmon")) {
        appendHwmonSensors(sensors, hwmonDir_ + name + "/");
    }
    for (const auto& [number, name] : numberedEntries(thermalDir_, "thermal_zone")) {
        const std::string dir = thermalDir_ + name + "/";
        ThermalSensor sensor;
        sensor.productName = readTrimmed(dir + "type").value_or(name);
        sensor.handle = dir + "temp";
        sensors.push_back(std::move(sensor));
    }
    sensors_ = std::move(sensors);
}

std::optional<std::vector<ThermalSensor>> LinuxSystemCounters::thermalSensors() {
    if (isStale(sensorScan_)) {
        scanThermalSensors();
    }
    return sensors_;
}

std::optional<double> LinuxSystemCounters::readThermalSensor(const ThermalSensor& sensor) {
    const auto text = readFile(sensor.handle, buffer_);
    if (!text) {
        // A reloaded driver renumbers its hwmon folder: rescan when the input is
        // gone. An input that is there but errs (a chip asleep) just has no value.
        if (!pathExists(sensor.handle)) {
            sensorScan_.done = false;
        }
        return std::nullopt;
    }
    return parseMilliCelsius(*text);
}

// --- Processes -------------------------------------------------------------

std::optional<std::vector<ProcessStat>> LinuxSystemCounters::processTable() {
    std::vector<ProcessStat> table;
    table.reserve(lastProcessCount_ + 16);
    const bool listed =
        forEachDirectoryEntryWithFd(procDir_, [&](int procFd, std::string_view name) {
            if (!isAllDigits(name)) {
                return;
            }
            processPath_.assign(name).append("/stat");
            const auto text = readProcFileAt(procFd, processPath_.c_str(), processBuffer_);
            if (!text) {
                return; // exited since the listing
            }
            auto stat = parseProcessStat(*text);
            if (stat && std::to_string(stat->pid) == name) {
                table.push_back(std::move(*stat));
            }
        });
    if (!listed) {
        return std::nullopt;
    }
    lastProcessCount_ = table.size();
    return table;
}

std::optional<std::string> LinuxSystemCounters::processExecutable(int pid) {
    auto target = readSymlink(procDir_ + std::to_string(pid) + "/exe");
    if (!target) {
        return std::nullopt;
    }
    target->resize(withoutDeletedMark(*target).size());
    return target;
}

std::optional<std::vector<std::string>> LinuxSystemCounters::processArguments(int pid) {
    const auto text = readFile(procDir_ + std::to_string(pid) + "/cmdline", processBuffer_);
    if (!text) {
        return std::nullopt;
    }
    return parseCmdline(*text);
}

long LinuxSystemCounters::ticksPerSecond() {
    const long ticks = ::sysconf(_SC_CLK_TCK);
    return ticks > 0 ? ticks : 100;
}

double LinuxSystemCounters::monotonicSeconds() {
    return steadySeconds();
}

std::uint64_t LinuxSystemCounters::uniformRandom(std::uint64_t upperInclusive) {
    return std::uniform_int_distribution<std::uint64_t>(0, upperInclusive)(random_);
}

} // namespace pw::platform
