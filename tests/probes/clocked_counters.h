#pragma once

// A real counter backend over a fixture tree whose clock the test sets, so CPU
// figures over two samples are exact.

#include "platform/linux/linux_system_counters.h"

#include <memory>

namespace pw::test {

class ClockedCounters : public platform::SystemCounters {
public:
    explicit ClockedCounters(std::string root) : m_inner(std::move(root)) {}

    double now = 0.0;
    long ticks = 100;

    std::optional<std::vector<platform::CpuTicks>> cpuTicks() override {
        return m_inner.cpuTicks();
    }
    platform::CoreTopology coreTopology() override { return m_inner.coreTopology(); }
    std::optional<platform::MemoryCounters> memory() override { return m_inner.memory(); }
    std::optional<std::uint64_t> swapUsedBytes() override { return m_inner.swapUsedBytes(); }
    std::optional<std::vector<platform::InterfaceCounters>> networkInterfaces() override {
        return m_inner.networkInterfaces();
    }
    std::vector<platform::PowerSupply> powerSupplies() override { return m_inner.powerSupplies(); }
    std::optional<std::vector<platform::ThermalSensor>> thermalSensors() override {
        return m_inner.thermalSensors();
    }
    std::optional<double> readThermalSensor(const platform::ThermalSensor& sensor) override {
        return m_inner.readThermalSensor(sensor);
    }
    std::optional<std::vector<platform::ProcessStat>> processTable() override {
        return m_inner.processTable();
    }
    std::optional<std::string> processExecutable(int pid) override {
        return m_inner.processExecutable(pid);
    }
    std::optional<std::vector<std::string>> processArguments(int pid) override {
        return m_inner.processArguments(pid);
    }
    long ticksPerSecond() override { return ticks; }
    platform::ProcessResources processResources(int pid) override {
        return m_inner.processResources(pid);
    }
    std::optional<double> cpuClockMHz() override { return m_inner.cpuClockMHz(); }
    std::optional<platform::GpuCounters> gpu() override { return m_inner.gpu(); }
    std::optional<std::uint64_t> npuBusyMicroseconds() override {
        return m_inner.npuBusyMicroseconds();
    }
    std::optional<platform::VolumeSpace> rootVolume() override { return m_inner.rootVolume(); }
    std::optional<platform::BlockDeviceCounters> rootBlockDevice() override {
        return m_inner.rootBlockDevice();
    }
    std::optional<platform::DefaultRoute> defaultRoute() override { return m_inner.defaultRoute(); }
    std::optional<std::vector<platform::TcpConnection>>
    establishedTcpConnections(std::size_t limit) override {
        return m_inner.establishedTcpConnections(limit);
    }
    std::vector<platform::FanReading> fans() override { return m_inner.fans(); }
    double monotonicSeconds() override { return now; }
    std::uint64_t uniformRandom(std::uint64_t upperInclusive) override {
        return m_inner.uniformRandom(upperInclusive);
    }

private:
    platform::LinuxSystemCounters m_inner;
};

} // namespace pw::test
