#pragma once

#include "platform/system_counters.h"

#include <random>
#include <string>
#include <vector>

namespace pw::platform {

// Reads the counters from <root>/proc and <root>/sys. `root` is "/" on a live
// machine and a copied tree in tests (the --root option).
//
// Facts that do not change on a running machine (the sensor list, the zram
// devices, the power supplies, which interfaces are real NICs) are cached, so a
// once-a-second cycle costs a handful of reads.
//
// Not thread-safe as a whole, but the process calls (processTable,
// processExecutable, processArguments) share no state with the other readings:
// one thread may sample processes while another runs the cycle. The same holds
// for establishedTcpConnections.
class LinuxSystemCounters : public SystemCounters {
public:
    explicit LinuxSystemCounters(std::string root = "/");

    std::optional<std::vector<CpuTicks>> cpuTicks() override;
    CoreTopology coreTopology() override;

    // memory() keeps the swap figures of the same meminfo read, and a
    // swapUsedBytes() right after it (within 50 ms) answers from them: the cycle
    // asks for both, and meminfo is one of the dearer files to generate.
    std::optional<MemoryCounters> memory() override;
    std::optional<std::uint64_t> swapUsedBytes() override;

    std::optional<std::vector<InterfaceCounters>> networkInterfaces() override;

    std::vector<PowerSupply> powerSupplies() override;

    std::optional<std::vector<ThermalSensor>> thermalSensors() override;
    std::optional<double> readThermalSensor(const ThermalSensor& sensor) override;

    std::optional<std::vector<ProcessStat>> processTable() override;
    std::optional<std::string> processExecutable(int pid) override;
    std::optional<std::vector<std::string>> processArguments(int pid) override;
    long ticksPerSecond() override;
    ProcessResources processResources(int pid) override;

    // In linux_device_counters.cpp.
    std::optional<double> cpuClockMHz() override;
    std::optional<GpuCounters> gpu() override;
    std::optional<std::uint64_t> npuBusyMicroseconds() override;
    std::optional<VolumeSpace> rootVolume() override;
    std::optional<BlockDeviceCounters> rootBlockDevice() override;
    std::optional<DefaultRoute> defaultRoute() override;
    std::optional<std::vector<TcpConnection>> establishedTcpConnections(std::size_t limit) override;
    std::vector<FanReading> fans() override;

    double monotonicSeconds() override;
    std::uint64_t uniformRandom(std::uint64_t upperInclusive) override;

    // How old the cached device lists may get before they are looked up again
    // (10 s by default); 0 looks them up on every call.
    void setRescanIntervalSeconds(double seconds) { rescanInterval_ = seconds; }

private:
    // A cached directory scan with the time it was made.
    struct ScanTime {
        bool done = false;
        double at = 0.0;
    };
    bool isStale(const ScanTime& scan);
    void markScanned(ScanTime& scan);

    std::optional<std::vector<int>> readCpuList(const std::string& path);
    std::optional<int> onlineCpuCount();
    struct CapacitySplit {
        std::vector<int> efficiencyCpus;
        int performanceCount = 0;
    };
    std::optional<CapacitySplit> splitByCapacity();

    void scanZramDevices();
    void scanPowerSupplies();
    void scanThermalSensors();
    void appendHwmonSensors(std::vector<ThermalSensor>& sensors, const std::string& dir);
    std::optional<PowerSupply> readPowerSupply(const std::string& name);
    std::optional<std::string> readTrimmed(const std::string& path);

    std::string root_;
    std::string procStatPath_;
    std::string meminfoPath_;
    std::string netDevPath_;
    std::string netClassDir_;
    std::string blockDir_;
    std::string powerSupplyDir_;
    std::string hwmonDir_;
    std::string thermalDir_;
    std::string procDir_;
    std::string cpuSysDir_;

    std::string buffer_;        // scratch for file contents, reused by every read
    std::string processBuffer_; // the same for the process calls
    std::string processPath_;   // scratch for per-process paths
    std::string tcpBuffer_;     // the same for the connection tables

    double rescanInterval_ = 10.0;

    struct SwapFigures {
        std::optional<std::uint64_t> total;
        std::optional<std::uint64_t> free;
        double at = 0.0;
    };
    std::optional<SwapFigures> pendingSwap_; // from the last memory(), used once

    std::vector<std::string> zramStatPaths_;
    ScanTime zramScan_;

    std::vector<std::string> interfaceNames_; // the names `deviceFlags_` belongs to
    std::vector<bool> deviceFlags_;

    std::vector<std::string> supplyNames_;
    ScanTime supplyScan_;

    std::optional<std::vector<ThermalSensor>> sensors_;
    ScanTime sensorScan_;

    // The device readings' caches, in linux_device_counters.cpp.
    struct ClockPolicy {
        std::string path; // its scaling_cur_freq
        int cpuCount = 1;
    };
    void scanClockPolicies();
    std::vector<ClockPolicy> clockPolicies_;
    ScanTime clockScan_;
    std::optional<double> cpuinfoMHz_; // the fallback, re-read at the rescan interval
    ScanTime cpuinfoRead_;

    struct GpuFiles {
        std::string name;
        std::string deviceDir; // ends in '/'
        std::string temperaturePath;
    };
    void scanGpu();
    std::optional<GpuFiles> gpu_;
    ScanTime gpuScan_;

    std::optional<std::string> npuPath_;
    ScanTime npuScan_;

    struct VolumeIdentity {
        std::string name;
        std::string device;
        std::string sourceName; // basename of the mount source, for major-0 roots
        std::optional<bool> rotational;
    };
    void scanRootVolume();
    std::optional<VolumeIdentity> volume_;
    ScanTime volumeScan_;

    struct FanFiles {
        std::string inputPath;
        std::string label;
    };
    void scanFans();
    std::vector<FanFiles> fans_;
    ScanTime fanScan_;

    std::size_t lastProcessCount_ = 0;
    std::mt19937_64 random_;
};

} // namespace pw::platform
