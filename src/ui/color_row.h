#pragma once

#include "ui/rounded_card.h"

class QLabel;

namespace pw::ui {

// A label with a 30 x 16 colour swatch on a translucent rounded row.
class ColorRow : public RoundedCard {
    Q_OBJECT
public:
    ColorRow(const QString& label, const QColor& color, QWidget* parent = nullptr);

    QString label() const;
    QColor color() const;

private:
    QLabel* m_label;
    RoundedCard* m_swatch;
};

} // namespace pw::ui
