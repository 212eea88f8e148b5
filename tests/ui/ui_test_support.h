#pragma once

// Model objects over scripted counters, for driving the popup's views.

#include "platform/fake/fake_system_counters.h"
#include "services/application_catalog.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/system_stats_provider.h"
#include "services/theme_manager.h"

#include <QTemporaryDir>

#include <map>
#include <memory>
#include <vector>

namespace pw::test {

struct FakeProcess {
    int pid;
    std::string command;
    std::string executable;
};

class ModelFixture {
public:
    // `catalog` finds the installed applications of the processes; none by default.
    explicit ModelFixture(std::shared_ptr<ApplicationCatalog> catalog = nullptr)
        : counters(std::make_shared<platform::FakeSystemCounters>()),
          notifier(std::make_shared<platform::FakeDesktopNotifier>()) {
        counters->cpu = std::vector<platform::CpuTicks>{{0, 0, 0, 0, 0}};
        counters->sensors = std::vector<platform::ThermalSensor>{{"Tp09", "die"}};
        counters->processes = std::vector<platform::ProcessStat>{};
        stats = std::make_unique<SystemStatsProvider>(counters, notifier, [] { return 90.0; });
        if (!catalog)
            catalog =
                std::make_shared<ApplicationCatalog>([] { return platform::DesktopEntryIndex(); });
        catalog->waitUntilReady();
        monitor = std::make_unique<ProcessMonitor>(counters, Polling::Manual, catalog);
        ping = std::make_unique<PingService>(QStringLiteral("127.0.0.1"), Polling::Manual);
        preferences =
            std::make_unique<Preferences>(settingsDir.filePath(QStringLiteral("prefs.ini")));
        stats->updateStats(); // the first cycle only takes the CPU baseline
    }

    // One cycle with this CPU load, temperature, memory (GB) and swap (GB).
    void cycle(double cpuPercent, double temperature = 45.7) {
        m_user += static_cast<std::uint64_t>(cpuPercent * 10);
        m_idle += static_cast<std::uint64_t>((100.0 - cpuPercent) * 10);
        counters->cpu = std::vector<platform::CpuTicks>{{0, m_user, 0, m_idle, 0}};
        counters->sensorReadings["die"] = temperature;
        stats->updateStats();
    }

    void setMemory(double appGb, double wiredGb, double compressedGb, double totalGb,
                   double swapGb) {
        constexpr double gb = 1024.0 * 1024.0 * 1024.0;
        counters->memoryCounters = platform::MemoryCounters{
            static_cast<std::uint64_t>(wiredGb * gb), static_cast<std::uint64_t>(appGb * gb),
            static_cast<std::uint64_t>(compressedGb * gb),
            static_cast<std::uint64_t>(totalGb * gb)};
        counters->swapUsed = static_cast<std::uint64_t>(swapGb * gb);
    }

    // Publishes these processes, busiest first, as the monitor's next list.
    void publishProcesses(const std::vector<FakeProcess>& processes) {
        std::vector<platform::ProcessStat> table;
        counters->executables.clear();
        std::uint64_t load = 10 * (processes.size() + 1);
        for (const FakeProcess& process : processes) {
            m_ticks[process.pid] += load;
            load -= 10;
            table.push_back({process.pid, process.command, m_ticks[process.pid]});
            counters->executables[process.pid] = process.executable;
        }
        counters->processes = table;
        counters->now += 2.0;
        monitor->updateProcesses();
    }

    QTemporaryDir settingsDir;
    std::shared_ptr<platform::FakeSystemCounters> counters;
    std::shared_ptr<platform::FakeDesktopNotifier> notifier;
    std::unique_ptr<SystemStatsProvider> stats;
    std::unique_ptr<ProcessMonitor> monitor;
    std::unique_ptr<PingService> ping;
    ThemeManager themeManager;
    std::unique_ptr<Preferences> preferences;

private:
    std::uint64_t m_user = 0;
    std::uint64_t m_idle = 0;
    std::map<int, std::uint64_t> m_ticks;
};

} // namespace pw::test
