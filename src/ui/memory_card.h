#pragma once

#include "ui/rounded_card.h"

class QLabel;

namespace pw::ui {

// A titled figure on a translucent card that takes the full width it is given.
class MemoryCard : public RoundedCard {
    Q_OBJECT
public:
    MemoryCard(const QString& title, const QString& value, const QColor& color,
               QWidget* parent = nullptr);

    QString title() const;
    QString value() const;
    void setValue(const QString& value);

private:
    QLabel* m_title;
    QLabel* m_value;
};

} // namespace pw::ui
