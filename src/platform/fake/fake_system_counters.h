#pragma once

#include "platform/desktop_notifier.h"
#include "platform/system_counters.h"

#include <atomic>
#include <map>
#include <vector>

namespace pw::platform {

// Counters a test sets by hand between cycles. Every call answers with the
// value of the matching field at that moment and counts the call.
class FakeSystemCounters : public SystemCounters {
public:
    std::optional<std::vector<CpuTicks>> cpu;
    CoreTopology topology;
    std::optional<MemoryCounters> memoryCounters;
    std::optional<std::uint64_t> swapUsed;
    std::optional<std::vector<InterfaceCounters>> interfaces;
    std::vector<PowerSupply> supplies;
    std::optional<std::vector<ThermalSensor>> sensors;
    std::map<std::string, std::optional<double>> sensorReadings; // by handle
    std::optional<std::vector<ProcessStat>> processes;
    std::map<int, std::string> executables;
    std::map<int, std::vector<std::string>> arguments;
    std::map<int, ProcessResources> resources;
    std::optional<double> clockMHz;
    std::optional<GpuCounters> gpuCounters;
    std::optional<std::uint64_t> npuBusy;
    std::optional<VolumeSpace> volume;
    std::optional<BlockDeviceCounters> blockDevice;
    std::optional<DefaultRoute> route;
    std::optional<std::vector<TcpConnection>> connections;
    std::vector<FanReading> fanReadings;
    long ticks = 100;
    double now = 0.0;
    std::uint64_t randomValue = 0;

    std::atomic<int> calls = 0; // the connection reader calls from its own thread

    std::optional<std::vector<CpuTicks>> cpuTicks() override { return ++calls, cpu; }
    CoreTopology coreTopology() override { return ++calls, topology; }
    std::optional<MemoryCounters> memory() override { return ++calls, memoryCounters; }
    std::optional<std::uint64_t> swapUsedBytes() override { return ++calls, swapUsed; }
    std::optional<std::vector<InterfaceCounters>> networkInterfaces() override {
        return ++calls, interfaces;
    }
    std::vector<PowerSupply> powerSupplies() override { return ++calls, supplies; }
    std::optional<std::vector<ThermalSensor>> thermalSensors() override { return ++calls, sensors; }
    std::optional<double> readThermalSensor(const ThermalSensor& sensor) override {
        ++calls;
        auto it = sensorReadings.find(sensor.handle);
        return it == sensorReadings.end() ? std::nullopt : it->second;
    }
    std::optional<std::vector<ProcessStat>> processTable() override { return ++calls, processes; }
    std::optional<std::string> processExecutable(int pid) override {
        ++calls;
        auto it = executables.find(pid);
        return it == executables.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::vector<std::string>> processArguments(int pid) override {
        ++calls;
        auto it = arguments.find(pid);
        return it == arguments.end() ? std::nullopt : std::optional(it->second);
    }
    long ticksPerSecond() override { return ticks; }
    ProcessResources processResources(int pid) override {
        ++calls;
        auto it = resources.find(pid);
        return it == resources.end() ? ProcessResources{} : it->second;
    }
    std::optional<double> cpuClockMHz() override { return ++calls, clockMHz; }
    std::optional<GpuCounters> gpu() override { return ++calls, gpuCounters; }
    std::optional<std::uint64_t> npuBusyMicroseconds() override { return ++calls, npuBusy; }
    std::optional<VolumeSpace> rootVolume() override { return ++calls, volume; }
    std::optional<BlockDeviceCounters> rootBlockDevice() override { return ++calls, blockDevice; }
    std::optional<DefaultRoute> defaultRoute() override { return ++calls, route; }
    std::optional<std::vector<TcpConnection>>
    establishedTcpConnections(std::size_t limit) override {
        ++calls;
        if (!connections || connections->size() <= limit)
            return connections;
        return std::vector<TcpConnection>(connections->begin(),
                                          connections->begin() + static_cast<long>(limit));
    }
    std::vector<FanReading> fans() override { return ++calls, fanReadings; }
    double monotonicSeconds() override { return now; }
    std::uint64_t uniformRandom(std::uint64_t upperInclusive) override {
        return randomValue > upperInclusive ? upperInclusive : randomValue;
    }
};

class FakeDesktopNotifier : public DesktopNotifier {
public:
    std::vector<DesktopNotification> posted;
    void post(const DesktopNotification& notification) override { posted.push_back(notification); }
};

} // namespace pw::platform
