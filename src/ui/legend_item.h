#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

namespace pw::ui {

class ColorDot;

// One legend line: a colour dot, a label, then its value at the far end.
class LegendItem : public QWidget {
    Q_OBJECT

public:
    LegendItem(const QColor& color, const QString& label, const QString& value,
               QWidget* parent = nullptr);

    void setColor(const QColor& color);
    void setLabel(const QString& label);
    void setValue(const QString& value);
    QString label() const;
    QString value() const;

private:
    ColorDot* m_dot;
    QLabel* m_label;
    QLabel* m_value;
};

} // namespace pw::ui
