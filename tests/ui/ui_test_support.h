#pragma once

// The engine's model objects over the per-area fakes, for driving the views.

#include "platform/fake/fake_sources.h"
#include "services/application_catalog.h"
#include "services/engine_models.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/theme_manager.h"
#include "ui/format/figure_format.h"

#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace pw::test {

using Machine = std::function<void(platform::FakeSources&)>;

// A laptop with everything a view can show: a charging battery drawing
// 12.5 W, a package sensor, two performance and two efficiency cores, and a
// discrete GPU that reports its power.
inline void laptop(platform::FakeSources& fake) {
    fake.power->supplies = {platform::fakeBattery("Charging", 80, 12'500'000)};
    fake.thermal->sensorList =
        std::vector<platform::ThermalSensor>{{"coretemp Package id 0", "die"}};
    fake.cpu->topology = {2, 2, std::vector<int>{2, 3}};
    fake.cpu->mhz = 1890.0;
    platform::GpuDevice gpu = platform::fakeGpu("card0", "amdgpu", "Radeon");
    gpu.busyPercent = 11.0;
    gpu.temperatureCelsius = 52.0;
    gpu.powerWatts = 21.5;
    fake.gpu->devices = {gpu};
}

// A desktop without battery, power reading, temperature sensor, efficiency
// cores or GPU.
inline void bareDesktop(platform::FakeSources& fake) {
    fake.power->supplies.clear();
    fake.thermal->sensorList.reset();
    fake.cpu->topology = {4, std::nullopt, std::nullopt};
    fake.gpu->devices.clear();
}

struct FakeProcess {
    int pid;
    std::string command;
    std::string executable;
};

class ModelFixture {
public:
    // `machine` sets the fakes up before the engine reads the topology;
    // `catalog` finds the installed applications of the processes (none by default).
    explicit ModelFixture(const Machine& machine = {},
                          std::shared_ptr<ApplicationCatalog> catalog = nullptr) {
        fake.thermal->sensorList = std::vector<platform::ThermalSensor>{{"Tp09", "die"}};
        fake.processes->processes = std::vector<platform::ProcessStat>{};
        if (machine)
            machine(fake);
        fake.cpu->cpu = cpuTicks(0.0);
        engine = std::make_unique<EngineModels>(fake.sources(), notifier, [] { return 90.0; });
        if (!catalog)
            catalog =
                std::make_shared<ApplicationCatalog>([] { return platform::DesktopEntryIndex(); });
        catalog->waitUntilReady();
        monitor = std::make_unique<ProcessMonitor>(fake.sources(), Polling::Manual, catalog);
        ping = std::make_unique<PingService>(QStringLiteral("127.0.0.1"), Polling::Manual);
        preferences =
            std::make_unique<Preferences>(settingsDir.filePath(QStringLiteral("prefs.ini")));
        stats().updateStats(); // the first cycle only takes the CPU baseline
    }

    StatsModels models() { return engine->models(); }
    SystemStatsProvider& stats() { return engine->stats; }

    // One cycle with this CPU load on every CPU and this temperature.
    void cycle(double cpuPercent, double temperature = 45.7) {
        fake.cpu->cpu = cpuTicks(cpuPercent);
        fake.thermal->readings["die"] = temperature;
        fake.clock->advance(1.0);
        stats().updateStats();
    }

    // Sizes in GB.
    void setMemory(double appGb, double wiredGb, double compressedGb, double totalGb, double swapGb,
                   double swapTotalGb = 8.0) {
        auto bytes = [](double gb) { return static_cast<std::uint64_t>(gb * ui::kGiB); };
        fake.memory->counters = platform::MemoryCounters{bytes(wiredGb), bytes(appGb),
                                                         bytes(compressedGb), bytes(totalGb)};
        fake.memory->swapCounters = platform::SwapCounters{bytes(swapGb), bytes(swapTotalGb)};
    }

    // Publishes these processes, busiest first, as the monitor's next list.
    void publishProcesses(const std::vector<FakeProcess>& processes) {
        std::vector<platform::ProcessStat> table;
        fake.processes->executables.clear();
        std::uint64_t load = 10 * (processes.size() + 1);
        for (const FakeProcess& process : processes) {
            m_ticks[process.pid] += load;
            load -= 10;
            table.push_back({process.pid, process.command, m_ticks[process.pid]});
            fake.processes->executables[process.pid] = process.executable;
            fake.processes->argumentLists[process.pid] = {};
        }
        fake.processes->processes = table;
        fake.clock->advance(2.0);
        monitor->updateProcesses();
    }

    QTemporaryDir settingsDir;
    platform::FakeSources fake;
    std::shared_ptr<platform::FakeDesktopNotifier> notifier =
        std::make_shared<platform::FakeDesktopNotifier>();
    std::unique_ptr<EngineModels> engine;
    std::unique_ptr<ProcessMonitor> monitor;
    std::unique_ptr<PingService> ping;
    ThemeManager themeManager;
    std::unique_ptr<Preferences> preferences;

private:
    // As many CPUs as the topology names (one without), all at `percent` load.
    std::vector<platform::CpuTicks> cpuTicks(double percent) {
        const auto& topology = fake.cpu->topology;
        const int count = std::max(1, topology.performanceLevel0.value_or(0) +
                                          topology.performanceLevel1.value_or(0));
        m_busy += static_cast<std::uint64_t>(percent * 10);
        m_idle += static_cast<std::uint64_t>((100.0 - percent) * 10);
        std::vector<platform::CpuTicks> ticks;
        for (int cpu = 0; cpu < count; ++cpu)
            ticks.push_back({cpu, m_busy, 0, m_idle, 0});
        return ticks;
    }

    std::uint64_t m_busy = 0;
    std::uint64_t m_idle = 0;
    std::map<int, std::uint64_t> m_ticks;
};

} // namespace pw::test
