#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <string>
#include <string_view>

namespace pw::metrics {

enum class MetricsFormat {
    Prometheus,  // text exposition format 0.0.4
    OpenMetrics, // OpenMetrics text 1.0.0
};

enum class MetricType { Gauge, Counter, Info };

// The Content-Type header of a scrape in this format.
QByteArray contentType(MetricsFormat format);

// The format a scraper's Accept header prefers: OpenMetrics when it ranks it at
// least as high as plain text, the Prometheus text otherwise.
MetricsFormat negotiateFormat(QByteArrayView accept);

struct Label {
    std::string_view name;
    QString value; // any text: escaped and written as UTF-8
};

// Writes metric families in either text format. A family's HELP and TYPE lines
// are written with its first sample, so a family whose figures are all unknown
// this cycle leaves nothing behind.
class ExpositionWriter {
public:
    explicit ExpositionWriter(MetricsFormat format);

    // Starts a family. `name` has neither the "_total" of a counter nor the
    // "_info" of an info metric: the writer adds them where the format wants.
    void family(std::string_view name, MetricType type, std::string_view help);
    // One sample of the current family; a value that is not finite is left out.
    void sample(double value, std::initializer_list<Label> labels = {});

    MetricsFormat format() const { return m_format; }
    // The whole text, with the terminator OpenMetrics requires.
    QByteArray finish();

private:
    void writeHeader();
    void appendName();

    MetricsFormat m_format;
    QByteArray m_out;
    std::string m_name;
    MetricType m_type = MetricType::Gauge;
    std::string_view m_help;
    bool m_headerWritten = false;
};

} // namespace pw::metrics
