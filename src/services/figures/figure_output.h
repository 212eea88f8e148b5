#pragma once

#include "services/figures/figure.h"

#include <QJsonObject>
#include <QList>
#include <QString>

namespace pw {

// One JSON object with "time" and every figure of the catalogue under its id;
// an unknown figure is null.
QJsonObject figuresJson(const FigureInputs& inputs, double timeSinceEpoch);

// The figures that have a label, as "Label value unit" items on one line;
// an unknown figure reads "—".
QString figuresText(const FigureInputs& inputs);

// A key outside the catalogue that the readout adds, for the list below.
struct ExtraKey {
    QString key;
    QString unit;
    QString meaning;
    QString nullWhen;
};
// A Markdown table of `extras` then every figure: key, unit, meaning and when
// it is null.
QString figureListMarkdown(const QList<ExtraKey>& extras);

// One figure's value as text with its unit, "—" when unknown.
QString figureText(const Figure& figure, const FigureValue& value);

} // namespace pw
