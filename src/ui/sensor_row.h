#pragma once

#include <QWidget>

class QLabel;

namespace pw::ui {

// A labelled value line: a small blue title, then subtitle and value, then a divider.
class SensorRow : public QWidget {
    Q_OBJECT
public:
    SensorRow(const QString& title, const QString& subtitle, const QString& value = {},
              QWidget* parent = nullptr);

    QString title() const;
    QString subtitle() const;
    QString value() const;
    void setValue(const QString& value);

private:
    QLabel* m_title;
    QLabel* m_subtitle;
    QLabel* m_value;
};

} // namespace pw::ui
