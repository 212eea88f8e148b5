#pragma once

#include <QColor>
#include <QWidget>

namespace pw::ui {

// A filled circle of one colour, `diameter` square.
class ColorDot : public QWidget {
    Q_OBJECT

public:
    ColorDot(const QColor& color, int diameter, QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

} // namespace pw::ui
