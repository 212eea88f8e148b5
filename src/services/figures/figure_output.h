#pragma once

#include "services/figures/figure.h"

#include <QJsonObject>
#include <QString>

namespace pw {

// One JSON object with "time" and every figure of the catalogue under its id;
// an unknown figure is null.
QJsonObject figuresJson(const FigureInputs& inputs, double timeSinceEpoch);

// The figures that have a label, as "Label value unit" items on one line;
// an unknown figure reads "—".
QString figuresText(const FigureInputs& inputs);

// One figure's value as text with its unit, "—" when unknown.
QString figureText(const Figure& figure, const FigureValue& value);

} // namespace pw
