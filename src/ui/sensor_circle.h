#pragma once

#include <QWidget>

class QLabel;

namespace pw::ui {

// A round 70 x 70 badge: a blue ring around a title and its value.
class SensorCircle : public QWidget {
    Q_OBJECT
public:
    explicit SensorCircle(const QString& title, const QString& value = {},
                          QWidget* parent = nullptr);

    QString title() const;
    QString value() const;
    void setValue(const QString& value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_value;
};

} // namespace pw::ui
