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

    virtual double monotonicSeconds() = 0;
    // Uniform over [0, upperInclusive].
    virtual std::uint64_t uniformRandom(std::uint64_t upperInclusive) = 0;
};

} // namespace pw::platform
