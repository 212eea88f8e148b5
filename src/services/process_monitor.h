#pragma once

#include "platform/sources.h"
#include "services/application_catalog.h"
#include "services/demand/demand.h"
#include "services/polling.h"
#include "services/process_info_data.h"
#include "services/process_ranking.h"
#include "services/process_storage.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

namespace pw {

// The five processes that used the most CPU over the last 2-second interval,
// from the kernel's process table, with the memory each holds and its storage
// traffic since the previous list. With a `Demand`, the table is read only
// while someone holds the process reading, and at once when someone starts to.
class ProcessMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<pw::ProcessInfoData> topProcesses READ topProcesses NOTIFY topProcessesChanged)

public:
    static constexpr int kIntervalMs = 2000;
    static constexpr int kListLength = 5;
    static constexpr double kEnergyPerCpuPercent = 0.8;

    // Takes the baseline sample and starts polling.
    explicit ProcessMonitor(const platform::Sources& sources, QObject* parent = nullptr);
    ProcessMonitor(const platform::Sources& sources, Polling polling,
                   std::shared_ptr<ApplicationCatalog> catalog, QObject* parent = nullptr);

    const QList<ProcessInfoData>& topProcesses() const { return m_topProcesses; }

    void setDemand(const Demand* demand);

    void startPolling();
    // Whether its timer runs: not while polling but nobody wants the table.
    bool ticking() const { return m_timer.isActive(); }
    // What the timer does: a cycle, unless nobody wants the list.
    void tick();
    // One cycle: sample the table and publish the new list.
    void updateProcesses();

Q_SIGNALS:
    // On every publication, even when the list is the same.
    void topProcessesChanged();

private:
    const Demand* m_demand = nullptr;
    std::shared_ptr<platform::ProcessSource> m_processes;
    std::shared_ptr<platform::Clock> m_clock;
    std::shared_ptr<ApplicationCatalog> m_catalog;
    ProcessSample m_previous;
    ProcessStorageRates m_storageRates;
    QList<ProcessInfoData> m_topProcesses;
    QTimer m_timer;
    bool m_polling = false; // started, though idle while nobody wants the table
};

} // namespace pw
