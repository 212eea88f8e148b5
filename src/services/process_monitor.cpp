#include "services/process_monitor.h"

namespace pw {

ProcessMonitor::ProcessMonitor(const platform::Sources& sources, QObject* parent)
    : ProcessMonitor(sources, Polling::Start, std::make_shared<ApplicationCatalog>(), parent) {}

ProcessMonitor::ProcessMonitor(const platform::Sources& sources, Polling polling,
                               std::shared_ptr<ApplicationCatalog> catalog, QObject* parent)
    : QObject(parent), m_processes(sources.processes), m_clock(sources.clock),
      m_catalog(std::move(catalog)) {
    // The baseline, so the first published list already covers an interval.
    if (auto table = m_processes->processTable()) {
        m_previous = makeProcessSample(*table, m_clock->monotonicSeconds());
    } else {
        m_previous.seconds = m_clock->monotonicSeconds();
    }
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ProcessMonitor::tick);
    if (polling == Polling::Start) {
        startPolling();
    }
}

void ProcessMonitor::startPolling() {
    m_polling = true;
    m_timer.start();
}

void ProcessMonitor::setDemand(const Demand* demand) {
    m_demand = demand;
    if (!demand)
        return;
    connect(demand, &Demand::raised, this, [this](Reading reading) {
        if (reading != Reading::Processes)
            return;
        // A list now, over the time since the last read, and the rhythm
        // from here.
        updateProcesses();
        if (m_polling)
            m_timer.start();
    });
}

void ProcessMonitor::tick() {
    if (!m_demand || m_demand->wanted(Reading::Processes)) {
        updateProcesses();
        return;
    }
    // Nobody looks: no wake-ups either, until a view asks again.
    m_timer.stop();
}

void ProcessMonitor::updateProcesses() {
    const std::optional<std::vector<platform::ProcessStat>> table = m_processes->processTable();
    if (!table) {
        return; // the table cannot be read: the last list stays
    }
    const double now = m_clock->monotonicSeconds();
    const std::vector<RankedProcess> ranked =
        rankProcesses(m_previous, *table, now, m_processes->ticksPerSecond());
    m_previous = makeProcessSample(*table, now);

    QList<ProcessInfoData> list;
    for (const RankedProcess& process : ranked) {
        if (list.size() == kListLength) {
            break;
        }
        const std::optional<std::string> executable = m_processes->executable(process.pid);
        const std::optional<std::vector<std::string>> arguments =
            executable ? std::nullopt : m_processes->arguments(process.pid);
        if (!executable && !arguments) {
            continue; // exited since the table was read
        }
        const ProcessIdentity identity =
            identifyProcess((*table)[process.row].command, executable, arguments);
        ProcessInfoData row;
        row.id = process.pid;
        row.name = identity.name;
        row.fullPath = identity.fullPath;
        row.cpuUsage = process.cpuUsage;
        row.energyImpact = process.cpuUsage * kEnergyPerCpuPercent;
        const platform::ProcessResources resources = m_processes->resources(process.pid);
        if (resources.residentBytes)
            row.residentBytes = static_cast<qint64>(*resources.residentBytes);
        const ProcessStorageRates::Rates storage =
            m_storageRates.sample(process.pid, resources, now);
        row.storageReadRate = storage.read;
        row.storageWriteRate = storage.write;
        if (identity.isPath && m_catalog) {
            if (const auto app = m_catalog->lookup(identity.fullPath)) {
                row.icon = app->icon;
                row.desktopEntry = app->desktopEntry;
            }
        }
        list.append(row);
    }
    m_storageRates.finishRound();
    m_topProcesses = std::move(list);
    Q_EMIT topProcessesChanged();
}

} // namespace pw
