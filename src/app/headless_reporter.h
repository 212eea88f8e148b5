#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace pw {
class SystemStatsProvider;
class PingService;
struct LatencyFigures;
} // namespace pw

namespace pw::app {

// Prints every figure of the catalogue after every cycle: a line for a person,
// or one JSON object per line. Ends the event loop after the requested number of
// cycles, exporting the CSV history first when asked.
class HeadlessReporter : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool json = false;
        std::optional<long long> samples;
        bool exportCsv = false;
    };

    // Figures of other model objects join each line through a section.
    struct Section {
        std::function<void(QJsonObject&)> addJson;
        std::function<QString()> humanText;
    };

    HeadlessReporter(SystemStatsProvider& stats, Options options, QObject* parent = nullptr);

    void addSection(Section section) { m_sections.push_back(std::move(section)); }

    // Ends the run now: exports the CSV history when asked, then emits
    // finished(). Only the first call counts.
    void finish();

    // The latency figures join each line from here; without it they are unknown.
    void setLatencySource(const PingService* ping) { m_ping = ping; }

Q_SIGNALS:
    // The run is over; `exitCode` is non-zero when the CSV export failed.
    void finished(int exitCode);

private:
    void report();

    SystemStatsProvider& m_stats;
    const PingService* m_ping = nullptr;
    Options m_options;
    long long m_cycles = 0;
    bool m_finished = false;
    std::vector<Section> m_sections;
};

} // namespace pw::app
