#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <vector>

namespace pw {

// Readings that cost enough to be taken only while something uses them.
enum class Reading {
    Processes,   // the process table and per-process details
    Connections, // the TCP tables
    Route,       // the default route's interface and local address
    CpuDetails,  // the clock speed (per-core loads come with the totals)
    Gpu,         // GPU and NPU busy figures
    Storage,     // disk activity
    Fans,
};
inline constexpr int kReadingCount = 7;

// Who consumes which reading: open views, switched-on alerts, outputs. Until
// `readOnlyWhatIsWatched` every reading counts as wanted, so an output that
// prints everything registers nothing; after it, a reading nobody holds is
// not taken. `raised` says a reading just gained its first consumer, so its
// owner can take it at once rather than at its next tick.
class Demand : public QObject {
    Q_OBJECT

public:
    explicit Demand(QObject* parent = nullptr) : QObject(parent) {}

    void readOnlyWhatIsWatched() { m_onlyWatched = true; }
    bool readsOnlyWhatIsWatched() const { return m_onlyWatched; }

    bool wanted(Reading reading) const { return !m_onlyWatched || count(reading) > 0; }
    int count(Reading reading) const { return m_counts[index(reading)]; }

    void hold(Reading reading);
    void release(Reading reading);

Q_SIGNALS:
    void raised(pw::Reading reading);

private:
    static std::size_t index(Reading reading) { return static_cast<std::size_t>(reading); }

    std::array<int, kReadingCount> m_counts{};
    bool m_onlyWatched = false;
};

// Interest in some readings for as long as it is held. Outliving the
// registry is harmless.
class DemandHold {
public:
    DemandHold() = default;
    DemandHold(Demand& demand, const std::vector<Reading>& readings);
    ~DemandHold() { release(); }
    DemandHold(const DemandHold&) = delete;
    DemandHold& operator=(const DemandHold&) = delete;
    DemandHold(DemandHold&& other) noexcept;
    DemandHold& operator=(DemandHold&& other) noexcept;

    bool held() const { return m_held; }
    void release();

private:
    QPointer<Demand> m_demand;
    std::array<bool, kReadingCount> m_readings{};
    bool m_held = false;
};

} // namespace pw
