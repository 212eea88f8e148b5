#include "services/figures/figure_output.h"

#include "services/engine/units.h"
#include "services/figures/figure_catalogue.h"

#include <QJsonValue>

namespace pw {
namespace {

const QString kDash = QStringLiteral("\u2014");

QJsonValue jsonValue(const FigureValue& value) {
    struct Visitor {
        QJsonValue operator()(std::monostate) const { return QJsonValue(); }
        QJsonValue operator()(double v) const { return QJsonValue(v); }
        QJsonValue operator()(qint64 v) const { return QJsonValue(v); }
        QJsonValue operator()(bool v) const { return QJsonValue(v); }
        QJsonValue operator()(const QString& v) const { return QJsonValue(v); }
        QJsonValue operator()(const QJsonArray& v) const { return QJsonValue(v); }
    };
    return std::visit(Visitor{}, value);
}

// The number scaled to the unit people read, and that unit's suffix.
QString withUnit(double value, FigureUnit unit, int decimals) {
    switch (unit) {
    case FigureUnit::Percent:
        return QString::number(value, 'f', decimals) + QLatin1Char('%');
    case FigureUnit::Ratio:
        return QString::number(value * 100.0, 'f', 0) + QLatin1Char('%');
    case FigureUnit::Gigabytes:
        return QString::number(value, 'f', decimals) + QStringLiteral(" GB");
    case FigureUnit::KilobytesPerCycle:
        return QString::number(value, 'f', decimals) + QStringLiteral(" KB/s");
    case FigureUnit::BytesPerSecond:
        return QString::number(value / kBytesPerKiB, 'f', decimals) + QStringLiteral(" KB/s");
    case FigureUnit::Celsius:
        return QString::number(value, 'f', decimals) + QStringLiteral("\u00B0C");
    case FigureUnit::Watts:
        return QString::number(value, 'f', decimals) + QStringLiteral(" W");
    case FigureUnit::Minutes:
        return QString::number(value, 'f', decimals) + QStringLiteral(" min");
    case FigureUnit::Milliseconds:
        return QString::number(value, 'f', decimals) + QStringLiteral(" ms");
    case FigureUnit::Gigahertz:
        return QString::number(value, 'f', decimals) + QStringLiteral(" GHz");
    case FigureUnit::Bytes:
        return QString::number(value, 'f', 0) + QStringLiteral(" B");
    case FigureUnit::Seconds:
        return QString::number(value, 'f', decimals) + QStringLiteral(" s");
    case FigureUnit::None:
        break;
    }
    return QString::number(value, 'f', decimals);
}

QString unitName(FigureUnit unit) {
    switch (unit) {
    case FigureUnit::Percent:
        return QStringLiteral("percent");
    case FigureUnit::Ratio:
        return QStringLiteral("fraction 0-1");
    case FigureUnit::Gigabytes:
        return QStringLiteral("GB (1024³ bytes)");
    case FigureUnit::KilobytesPerCycle:
        return QStringLiteral("KB (1024 bytes) per 1-second cycle, i.e. KB/s");
    case FigureUnit::BytesPerSecond:
        return QStringLiteral("bytes per second");
    case FigureUnit::Celsius:
        return QStringLiteral("°C");
    case FigureUnit::Watts:
        return QStringLiteral("W");
    case FigureUnit::Minutes:
        return QStringLiteral("minutes");
    case FigureUnit::Milliseconds:
        return QStringLiteral("ms");
    case FigureUnit::Gigahertz:
        return QStringLiteral("GHz");
    case FigureUnit::Bytes:
        return QStringLiteral("bytes");
    case FigureUnit::Seconds:
        return QStringLiteral("seconds");
    case FigureUnit::None:
        break;
    }
    return QStringLiteral("-");
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString figureListMarkdown(const QList<ExtraKey>& extras) {
    QString text = QStringLiteral("| key | unit | meaning | null |\n|---|---|---|---|\n");
    const auto row = [&text](const QString& key, const QString& unit, const QString& meaning,
                             const QString& nullWhen) {
        text += QStringLiteral("| `%1` | %2 | %3 | %4 |\n").arg(key, unit, meaning, nullWhen);
    };
    for (const ExtraKey& e : extras)
        row(e.key, e.unit, e.meaning, e.nullWhen);
    for (const Figure& f : figureCatalogue()) {
        // A list's unit is that of its entries.
        const QString unit = f.kind == FigureKind::List && f.unit != FigureUnit::None
                                 ? QStringLiteral("list of ") + unitName(f.unit)
                             : f.kind == FigureKind::Flag ? QStringLiteral("true/false")
                             : f.kind == FigureKind::Text && f.unit == FigureUnit::None
                                 ? QStringLiteral("text")
                             : f.kind == FigureKind::List ? QStringLiteral("list")
                                                          : unitName(f.unit);
        row(fromView(f.id), unit, fromView(f.help), fromView(f.nullWhen));
    }
    return text;
}

QString figureText(const Figure& figure, const FigureValue& value) {
    struct Visitor {
        const Figure& figure;
        QString operator()(std::monostate) const { return kDash; }
        QString operator()(double v) const { return withUnit(v, figure.unit, figure.decimals); }
        QString operator()(qint64 v) const {
            return withUnit(static_cast<double>(v), figure.unit, 0);
        }
        QString operator()(bool v) const {
            return v ? QStringLiteral("yes") : QStringLiteral("no");
        }
        QString operator()(const QString& v) const { return v; }
        QString operator()(const QJsonArray& v) const {
            return QString::number(v.size()) + QStringLiteral(" values");
        }
    };
    return std::visit(Visitor{figure}, value);
}

QJsonObject figuresJson(const FigureInputs& inputs, double timeSinceEpoch) {
    QJsonObject object{{QStringLiteral("time"), timeSinceEpoch}};
    for (const Figure& f : figureCatalogue())
        object.insert(QLatin1String(f.id.data(), static_cast<qsizetype>(f.id.size())),
                      jsonValue(f.read(inputs)));
    return object;
}

QString figuresText(const FigureInputs& inputs) {
    QString line;
    for (const Figure& f : figureCatalogue()) {
        if (f.label.empty())
            continue;
        if (!line.isEmpty())
            line += QStringLiteral("  ");
        line += QLatin1String(f.label.data(), static_cast<qsizetype>(f.label.size())) +
                QLatin1Char(' ') +
                (f.describe ? f.describe(inputs) : figureText(f, f.read(inputs)));
    }
    return line;
}

} // namespace pw
