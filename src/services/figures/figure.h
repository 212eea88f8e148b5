#pragma once

#include "services/engine/snapshot.h"

#include <QJsonArray>
#include <QString>

#include <optional>
#include <string_view>
#include <variant>

namespace pw {

enum class FigureKind {
    Gauge,   // a value that goes up and down
    Counter, // a total that only grows
    Text,
    Flag,
    List,
};

enum class FigureUnit {
    None,
    Percent,
    Ratio, // 0–1
    Gigabytes,
    KilobytesPerCycle,
    BytesPerSecond,
    Celsius,
    Watts,
    Minutes,
    Milliseconds,
    Gigahertz,
    Bytes,
    Seconds,
};

// A figure's value this cycle: monostate when unknown.
using FigureValue = std::variant<std::monostate, double, qint64, bool, QString, QJsonArray>;

// The probe figures that live outside the engine's snapshot.
struct LatencyFigures {
    std::optional<double> currentMs;
    QList<std::optional<double>> historyMs;
};

// What the catalogue reads figures from.
struct FigureInputs {
    const Snapshot& snapshot;
    const LatencyFigures* latency = nullptr; // absent where no probe runs
};

// How a figure is named in the metrics: "pulsewick_" + name + the suffix of its
// base unit (and "_total" for a counter), with at most one fixed label. An
// empty name keeps the figure out: text, lists and figures the metrics give
// in another shape (per-cycle rates, the shown GPU).
struct FigureMetric {
    std::string_view name;
    std::string_view labelName = {};
    std::string_view labelValue = {};
};

// One figure, described once: outputs (JSON, terminal text, history columns,
// metrics) are generated from these descriptions.
struct Figure {
    std::string_view id;    // the JSON key
    std::string_view label; // for people; empty keeps it out of the terminal line
    FigureUnit unit;
    FigureKind kind;
    bool canBeUnknown;
    std::string_view help;     // one line
    std::string_view nullWhen; // when the JSON value is null, or "never"
    int decimals;              // in text
    FigureValue (*read)(const FigureInputs&);
    // For people when the JSON value is a keyword; absent: `read` with its unit.
    QString (*describe)(const FigureInputs&) = nullptr;
    FigureMetric metric = {};
};

} // namespace pw
