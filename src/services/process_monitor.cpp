#include "services/process_monitor.h"

namespace pw {

ProcessMonitor::ProcessMonitor(std::shared_ptr<platform::SystemCounters> counters, QObject* parent)
    : ProcessMonitor(std::move(counters), Polling::Start, std::make_shared<ApplicationCatalog>(),
                     parent) {}

ProcessMonitor::ProcessMonitor(std::shared_ptr<platform::SystemCounters> counters, Polling polling,
                               std::shared_ptr<ApplicationCatalog> catalog, QObject* parent)
    : QObject(parent), m_counters(std::move(counters)), m_catalog(std::move(catalog)) {
    // The baseline, so the first published list already covers an interval.
    if (auto table = m_counters->processTable()) {
        m_previous = makeProcessSample(*table, m_counters->monotonicSeconds());
    } else {
        m_previous.seconds = m_counters->monotonicSeconds();
    }
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ProcessMonitor::updateProcesses);
    if (polling == Polling::Start) {
        startPolling();
    }
}

void ProcessMonitor::startPolling() {
    m_timer.start();
}

void ProcessMonitor::updateProcesses() {
    const std::optional<std::vector<platform::ProcessStat>> table = m_counters->processTable();
    if (!table) {
        return; // the table cannot be read: the last list stays
    }
    const double now = m_counters->monotonicSeconds();
    const std::vector<RankedProcess> ranked =
        rankProcesses(m_previous, *table, now, m_counters->ticksPerSecond());
    m_previous = makeProcessSample(*table, now);

    QList<ProcessInfoData> list;
    for (const RankedProcess& process : ranked) {
        if (list.size() == kListLength) {
            break;
        }
        const std::optional<std::string> executable = m_counters->processExecutable(process.pid);
        const std::optional<std::vector<std::string>> arguments =
            executable ? std::nullopt : m_counters->processArguments(process.pid);
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
        const platform::ProcessResources resources = m_counters->processResources(process.pid);
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
