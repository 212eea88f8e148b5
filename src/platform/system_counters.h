#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// Cumulative ticks of one logical CPU since boot, mapped onto the four states
// the load formula knows. `cpu` is the kernel's CPU number, not a position.
struct CpuTicks {
    int cpu = 0;
    std::uint64_t user = 0;
    std::uint64_t system = 0;
    std::uint64_t idle = 0;
    std::uint64_t nice = 0;
    bool operator==(const CpuTicks&) const = default;
};

// How the logical CPUs split into performance levels. Level 0 is the
// performance cores, level 1 the efficiency cores; a level the machine does not
// have is absent. `efficiencyCpus` names the efficiency CPUs when the platform
// knows the membership and not just the count.
struct CoreTopology {
    std::optional<int> performanceLevel0;
    std::optional<int> performanceLevel1;
    std::optional<std::vector<int>> efficiencyCpus;
};

struct MemoryCounters {
    std::uint64_t wiredBytes = 0;
    std::uint64_t appBytes = 0;
    std::uint64_t compressedBytes = 0;
    std::uint64_t totalBytes = 0;
};

struct InterfaceCounters {
    std::string name;
    std::uint64_t receivedBytes = 0;
    std::uint64_t sentBytes = 0;
    bool backedByDevice = false; // a real NIC rather than loopback, bridge, veth, tunnel
};

// One power supply as the kernel describes it; units as in sysfs
// (µWh, µAh, µW, µV, µA). Values the kernel does not offer are absent.
struct PowerSupply {
    std::string name;
    std::string type;
    std::string scope;
    std::string status;
    std::optional<std::int64_t> capacity;
    std::optional<std::int64_t> energyNow;
    std::optional<std::int64_t> energyFull;
    std::optional<std::int64_t> chargeNow;
    std::optional<std::int64_t> chargeFull;
    std::optional<std::int64_t> powerNow;
    std::optional<std::int64_t> voltageNow;
    std::optional<std::int64_t> currentNow;
};

// A temperature source. `handle` is opaque to callers: it is what the backend
// needs to read the value again.
struct ThermalSensor {
    std::string productName;
    std::string handle;
};

// One row of the process table. `cpuTicks` is utime + stime.
struct ProcessStat {
    int pid = 0;
    std::string command;
    std::uint64_t cpuTicks = 0;
};

// What one process holds and has moved; a figure the kernel does not let us
// read (another user's process) is absent.
struct ProcessResources {
    std::optional<std::uint64_t> residentBytes;
    std::optional<std::uint64_t> storageReadBytes;    // cumulative, since the process started
    std::optional<std::uint64_t> storageWrittenBytes; // the same
};

// A GPU's figures where the driver offers them.
struct GpuCounters {
    std::string name;                  // the driver, e.g. "amdgpu", "i915"
    std::optional<double> busyPercent; // engine utilisation, 0–100
    std::optional<double> memoryBusyPercent;
    std::optional<double> temperatureCelsius;
    std::optional<std::uint64_t> vramUsedBytes;
    std::optional<std::uint64_t> vramTotalBytes;
};

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

// The interface the default IPv4 route leaves through.
struct DefaultRoute {
    std::string interfaceName;
    bool wireless = false;
    std::optional<std::string> ipv4Address; // dotted decimal
};

// An established TCP connection; addresses in their usual text form.
struct TcpConnection {
    std::string localAddress;
    int localPort = 0;
    std::string remoteAddress;
    int remotePort = 0;
};

struct FanReading {
    std::string label; // the sensor's own label, else "<chip> fan<N>"
    std::int64_t rpm = 0;
};

// Every operating-system reading the engine and probes make. Each call returns
// absent when the source cannot be read, so callers keep their last figures.
class SystemCounters {
public:
    virtual ~SystemCounters() = default;

    virtual std::optional<std::vector<CpuTicks>> cpuTicks() = 0;
    virtual CoreTopology coreTopology() = 0;

    virtual std::optional<MemoryCounters> memory() = 0;
    virtual std::optional<std::uint64_t> swapUsedBytes() = 0;

    virtual std::optional<std::vector<InterfaceCounters>> networkInterfaces() = 0;

    virtual std::vector<PowerSupply> powerSupplies() = 0;

    // Absent when the machine has no temperature source at all.
    virtual std::optional<std::vector<ThermalSensor>> thermalSensors() = 0;
    virtual std::optional<double> readThermalSensor(const ThermalSensor& sensor) = 0; // °C

    virtual std::optional<std::vector<ProcessStat>> processTable() = 0;
    virtual std::optional<std::string> processExecutable(int pid) = 0;
    virtual std::optional<std::vector<std::string>> processArguments(int pid) = 0;
    virtual long ticksPerSecond() = 0;

    virtual ProcessResources processResources(int pid) = 0;

    // Mean current clock of the online CPUs in MHz; absent when the machine
    // reports none.
    virtual std::optional<double> cpuClockMHz() = 0;
    // The first GPU; absent when there is none.
    virtual std::optional<GpuCounters> gpu() = 0;
    // Cumulative busy time of a neural processing unit in microseconds; absent
    // when there is no NPU that reports one.
    virtual std::optional<std::uint64_t> npuBusyMicroseconds() = 0;

    virtual std::optional<VolumeSpace> rootVolume() = 0;
    // The block device of the root volume.
    virtual std::optional<BlockDeviceCounters> rootBlockDevice() = 0;

    virtual std::optional<DefaultRoute> defaultRoute() = 0;
    // The first `limit` established connections over IPv4 and IPv6, in table
    // order; absent when neither table can be read.
    virtual std::optional<std::vector<TcpConnection>>
    establishedTcpConnections(std::size_t limit) = 0;

    virtual std::vector<FanReading> fans() = 0;

    virtual double monotonicSeconds() = 0;
    // Uniform over [0, upperInclusive].
    virtual std::uint64_t uniformRandom(std::uint64_t upperInclusive) = 0;
};

} // namespace pw::platform
