#include "services/metrics/exposition.h"

#include <QList>

#include <charconv>
#include <cmath>

namespace pw::metrics {
namespace {

constexpr std::string_view kOpenMetricsType = "application/openmetrics-text";

void appendView(QByteArray& out, std::string_view text) {
    out.append(text.data(), static_cast<qsizetype>(text.size()));
}

void appendNumber(QByteArray& out, double value) {
    char buffer[32];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<qsizetype>(r.ptr - buffer));
}

// Label values come from the machine (fan labels, GPU names): quotes, backslashes
// and line breaks are escaped and other control characters replaced, so a
// hostile name cannot end the line or break the scrape. The UTF-8 encoder
// replaces unpaired surrogates, so the output is always valid UTF-8.
void appendLabelValue(QByteArray& out, const QString& value) {
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            escaped += QLatin1String("\\\\");
        else if (u == u'"')
            escaped += QLatin1String("\\\"");
        else if (u == u'\n')
            escaped += QLatin1String("\\n");
        else if (u < 0x20 || u == 0x7f)
            escaped += QChar(QChar::ReplacementCharacter);
        else
            escaped += c;
    }
    out.append(escaped.toUtf8());
}

void appendHelp(QByteArray& out, std::string_view help, bool escapeQuotes) {
    for (const char c : help) {
        if (c == '\\')
            out.append("\\\\");
        else if (c == '\n')
            out.append("\\n");
        else if (c == '"' && escapeQuotes)
            out.append("\\\"");
        else
            out.append(c);
    }
}

// The quality a media range of the Accept header gives, -1 when it names
// neither format.
struct Ranked {
    double openMetrics = -1.0;
    double text = -1.0;
};

double quality(const QByteArray& parameters) {
    for (const QByteArray& parameter : parameters.split(';')) {
        const QByteArray p = parameter.trimmed();
        if (p.startsWith("q=")) {
            bool ok = false;
            const double q = p.mid(2).toDouble(&ok);
            return ok && q >= 0.0 && q <= 1.0 ? q : 0.0;
        }
    }
    return 1.0;
}

} // namespace

QByteArray contentType(MetricsFormat format) {
    return format == MetricsFormat::OpenMetrics
               ? QByteArrayLiteral("application/openmetrics-text; version=1.0.0; charset=utf-8")
               : QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8");
}

MetricsFormat negotiateFormat(QByteArrayView accept) {
    Ranked ranked;
    const QList<QByteArray> ranges = QByteArray(accept.data(), accept.size()).split(',');
    for (const QByteArray& range : ranges) {
        const qsizetype semicolon = range.indexOf(';');
        const QByteArray type = (semicolon < 0 ? range : range.left(semicolon)).trimmed().toLower();
        const double q = semicolon < 0 ? 1.0 : quality(range.mid(semicolon + 1));
        if (type == QByteArrayView(kOpenMetricsType.data(), qsizetype(kOpenMetricsType.size())))
            ranked.openMetrics = std::max(ranked.openMetrics, q);
        else if (type == "text/plain" || type == "text/*" || type == "*/*")
            ranked.text = std::max(ranked.text, q);
    }
    return ranked.openMetrics > 0.0 && ranked.openMetrics >= ranked.text
               ? MetricsFormat::OpenMetrics
               : MetricsFormat::Prometheus;
}

ExpositionWriter::ExpositionWriter(MetricsFormat format) : m_format(format) {
    m_out.reserve(16 * 1024);
}

void ExpositionWriter::family(std::string_view name, MetricType type, std::string_view help) {
    m_name.assign(name);
    m_type = type;
    m_help = help;
    m_headerWritten = false;
}

void ExpositionWriter::appendName() {
    appendView(m_out, m_name);
    if (m_type == MetricType::Counter)
        m_out.append("_total");
    else if (m_type == MetricType::Info)
        m_out.append("_info");
}

void ExpositionWriter::writeHeader() {
    const bool openMetrics = m_format == MetricsFormat::OpenMetrics;
    // The Prometheus text names a family by its samples' name; OpenMetrics by
    // the name without the type's suffix.
    auto familyName = [&] {
        if (openMetrics)
            appendView(m_out, m_name);
        else
            appendName();
    };
    m_out.append("# HELP ");
    familyName();
    m_out.append(' ');
    appendHelp(m_out, m_help, openMetrics);
    m_out.append("\n# TYPE ");
    familyName();
    switch (m_type) {
    case MetricType::Counter:
        m_out.append(" counter\n");
        break;
    case MetricType::Info:
        m_out.append(openMetrics ? " info\n" : " gauge\n");
        break;
    case MetricType::Gauge:
        m_out.append(" gauge\n");
        break;
    }
    m_headerWritten = true;
}

void ExpositionWriter::sample(double value, std::initializer_list<Label> labels) {
    if (!std::isfinite(value) || m_name.empty())
        return;
    if (!m_headerWritten)
        writeHeader();
    appendName();
    if (labels.size() > 0) {
        char separator = '{';
        for (const Label& label : labels) {
            m_out.append(separator);
            appendView(m_out, label.name);
            m_out.append("=\"");
            appendLabelValue(m_out, label.value);
            m_out.append('"');
            separator = ',';
        }
        m_out.append('}');
    }
    m_out.append(' ');
    appendNumber(m_out, value);
    m_out.append('\n');
}

QByteArray ExpositionWriter::finish() {
    if (m_format == MetricsFormat::OpenMetrics)
        m_out.append("# EOF\n");
    return std::move(m_out);
}

} // namespace pw::metrics
