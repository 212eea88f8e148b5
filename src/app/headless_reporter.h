#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace pw {
class SystemStatsProvider;
}

namespace pw::app {

// Prints the store's figures after every cycle: a line for a person, or one
// JSON object per line. Ends the event loop after the requested number of
// cycles, exporting the CSV history first when asked. What goes to the
// terminal is made safe there: a name from the machine cannot move the cursor
// or start a line of its own (terminal_text.h).
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

    static QJsonObject storeJson(const SystemStatsProvider& stats, double timeSinceEpoch);
    static QString storeHumanLine(const SystemStatsProvider& stats);

Q_SIGNALS:
    // The run is over; `exitCode` is non-zero when the CSV export failed.
    void finished(int exitCode);

private:
    void report();

    SystemStatsProvider& m_stats;
    Options m_options;
    long long m_cycles = 0;
    bool m_finished = false;
    std::vector<Section> m_sections;
};

} // namespace pw::app
