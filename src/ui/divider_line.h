#pragma once

#include <QColor>
#include <QWidget>

namespace pw::ui {

// A one-pixel separator line, horizontal (full width) or vertical (`length` high).
class DividerLine : public QWidget {
    Q_OBJECT

public:
    static QColor defaultColor(); // white at 10 % on the dark popup

    explicit DividerLine(Qt::Orientation orientation, QWidget* parent = nullptr,
                         const QColor& color = defaultColor(), int length = -1);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation m_orientation;
    QColor m_color;
};

} // namespace pw::ui
