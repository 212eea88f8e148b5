#pragma once

#include "ui/rounded_card.h"

class QLabel;

namespace pw::ui {

// A coloured symbol beside a titled figure, on a translucent full-width card.
class NetworkCard : public RoundedCard {
    Q_OBJECT
public:
    NetworkCard(const QString& title, const QString& value, const QString& icon,
                const QColor& color, QWidget* parent = nullptr);

    QString title() const;
    QString value() const;
    QString icon() const { return m_iconName; }
    void setValue(const QString& value);

private:
    QString m_iconName;
    QLabel* m_title;
    QLabel* m_value;
};

} // namespace pw::ui
