#pragma once

#include "platform/desktop_notifier.h"
#include "platform/sources.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// Readings a test sets by hand between cycles, one fake per area. Every call
// answers with the matching field at that moment and counts itself in
// `calls`, shared by all the fakes of one FakeSources. The costlier readings
// also count themselves in `reads`, one count per fake.
struct FakeCallCount {
    std::atomic<int> value = 0; // the readers' threads call too
};

class FakeCpuSource : public CpuSource {
public:
    explicit FakeCpuSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::optional<std::vector<CpuTicks>> cpu;
    CoreTopology topology;
    std::optional<double> mhz;
    std::optional<std::vector<CpuTicks>> cpuTicks() override { return ++m_calls->value, cpu; }
    CoreTopology coreTopology() override { return ++m_calls->value, topology; }
    std::optional<double> clockMHz() override { return ++reads, ++m_calls->value, mhz; }
    std::atomic<int> reads = 0; // clock readings

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeMemorySource : public MemorySource {
public:
    explicit FakeMemorySource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::optional<MemoryCounters> counters;
    std::optional<SwapCounters> swapCounters;
    std::optional<MemoryCounters> memory() override { return ++m_calls->value, counters; }
    std::optional<SwapCounters> swap() override { return ++m_calls->value, swapCounters; }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeNetworkSource : public NetworkSource {
public:
    explicit FakeNetworkSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::optional<std::vector<InterfaceCounters>> counters;
    std::optional<DefaultRoute> route;
    int routeReads = 0;
    std::optional<std::vector<InterfaceCounters>> interfaces() override {
        return ++m_calls->value, counters;
    }
    std::optional<DefaultRoute> defaultRoute() override {
        ++routeReads;
        return ++m_calls->value, route;
    }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeConnectionSource : public ConnectionSource {
public:
    explicit FakeConnectionSource(std::shared_ptr<FakeCallCount> calls)
        : m_calls(std::move(calls)) {}
    std::optional<std::vector<TcpConnection>> connections;
    std::atomic<int> reads = 0;
    std::optional<std::vector<TcpConnection>> established(std::size_t limit) override {
        ++m_calls->value;
        ++reads;
        if (!connections || connections->size() <= limit)
            return connections;
        return std::vector<TcpConnection>(connections->begin(),
                                          connections->begin() + static_cast<long>(limit));
    }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

// The machine's own battery as a test writes it, at `percent` and drawing
// `microwatts`.
inline PowerSupply fakeBattery(const std::string& status, std::int64_t percent,
                               std::int64_t microwatts) {
    PowerSupply supply;
    supply.name = "BAT0";
    supply.type = "Battery";
    supply.status = status;
    supply.capacity = percent;
    supply.powerNow = microwatts;
    return supply;
}

class FakePowerSource : public PowerSource {
public:
    explicit FakePowerSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::vector<PowerSupply> supplies;
    std::vector<PowerSupply> powerSupplies() override { return ++m_calls->value, supplies; }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeThermalSource : public ThermalSource {
public:
    explicit FakeThermalSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::optional<std::vector<ThermalSensor>> sensorList;
    std::map<std::string, std::optional<double>> readings; // by handle
    std::optional<std::vector<ThermalSensor>> sensors() override {
        return ++m_calls->value, sensorList;
    }
    std::optional<double> readCelsius(const ThermalSensor& sensor) override {
        ++m_calls->value;
        auto it = readings.find(sensor.handle);
        return it == readings.end() ? std::nullopt : it->second;
    }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeStorageSource : public StorageSource {
public:
    explicit FakeStorageSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::optional<VolumeSpace> volume;
    std::optional<BlockDeviceCounters> blockDevice;
    std::optional<VolumeSpace> rootVolume() override { return ++m_calls->value, volume; }
    std::optional<BlockDeviceCounters> rootBlockDevice() override {
        return ++reads, ++m_calls->value, blockDevice;
    }
    std::atomic<int> reads = 0; // activity readings

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

// A card as a test writes it: who it is, no figures yet.
inline GpuDevice fakeGpu(const char* card, const char* driver, const char* name) {
    GpuDevice device;
    device.card = card;
    device.driver = driver;
    device.name = name;
    return device;
}

class FakeGpuSource : public GpuSource {
public:
    explicit FakeGpuSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::vector<GpuDevice> devices;
    std::optional<std::uint64_t> npuBusy;
    GpuProcesses processes;
    std::vector<GpuDevice> gpus() override { return ++reads, ++m_calls->value, devices; }
    GpuProcesses gpuProcesses() override { return processes; }
    std::atomic<int> reads = 0; // GPU readings
    std::optional<std::uint64_t> npuBusyMicroseconds() override {
        return ++m_calls->value, npuBusy;
    }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeFanSource : public FanSource {
public:
    explicit FakeFanSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::vector<FanReading> readings;
    std::vector<FanReading> fans() override { return ++reads, ++m_calls->value, readings; }
    std::atomic<int> reads = 0;

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeProcessSource : public ProcessSource {
public:
    explicit FakeProcessSource(std::shared_ptr<FakeCallCount> calls) : m_calls(std::move(calls)) {}
    std::optional<std::vector<ProcessStat>> processes;
    std::map<int, std::string> executables;
    std::map<int, std::vector<std::string>> argumentLists;
    std::map<int, ProcessResources> resourceTable;
    long ticks = 100;
    std::optional<std::vector<ProcessStat>> processTable() override {
        return ++reads, ++m_calls->value, processes;
    }
    std::atomic<int> reads = 0; // process tables
    std::optional<std::string> executable(int pid) override {
        ++m_calls->value;
        auto it = executables.find(pid);
        return it == executables.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::vector<std::string>> arguments(int pid) override {
        ++m_calls->value;
        auto it = argumentLists.find(pid);
        return it == argumentLists.end() ? std::nullopt : std::optional(it->second);
    }
    long ticksPerSecond() override { return ticks; }
    ProcessResources resources(int pid) override {
        ++m_calls->value;
        auto it = resourceTable.find(pid);
        return it == resourceTable.end() ? ProcessResources{} : it->second;
    }

private:
    std::shared_ptr<FakeCallCount> m_calls;
};

class FakeClock : public Clock {
public:
    double monotonic = 0.0;
    double wall = 1'700'000'000.0;
    double monotonicSeconds() override { return monotonic; }
    double wallSeconds() override { return wall; }
    // Moves both clocks on, as a running machine would.
    void advance(double seconds) {
        monotonic += seconds;
        wall += seconds;
    }
};

// One fake per area, wired into a Sources the code under test takes.
struct FakeSources {
    std::shared_ptr<FakeCallCount> callCount = std::make_shared<FakeCallCount>();
    std::shared_ptr<FakeCpuSource> cpu = std::make_shared<FakeCpuSource>(callCount);
    std::shared_ptr<FakeMemorySource> memory = std::make_shared<FakeMemorySource>(callCount);
    std::shared_ptr<FakeNetworkSource> network = std::make_shared<FakeNetworkSource>(callCount);
    std::shared_ptr<FakeConnectionSource> connections =
        std::make_shared<FakeConnectionSource>(callCount);
    std::shared_ptr<FakePowerSource> power = std::make_shared<FakePowerSource>(callCount);
    std::shared_ptr<FakeThermalSource> thermal = std::make_shared<FakeThermalSource>(callCount);
    std::shared_ptr<FakeStorageSource> storage = std::make_shared<FakeStorageSource>(callCount);
    std::shared_ptr<FakeGpuSource> gpu = std::make_shared<FakeGpuSource>(callCount);
    std::shared_ptr<FakeFanSource> fans = std::make_shared<FakeFanSource>(callCount);
    std::shared_ptr<FakeProcessSource> processes = std::make_shared<FakeProcessSource>(callCount);
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();

    int calls() const { return callCount->value; }
    Sources sources() const {
        return {cpu,     memory, network, connections, power, thermal,
                storage, gpu,    fans,    processes,   clock};
    }
};

class FakeDesktopNotifier : public DesktopNotifier {
public:
    std::vector<DesktopNotification> posted;
    void post(const DesktopNotification& notification) override { posted.push_back(notification); }
};

} // namespace pw::platform
