#pragma once

#include <QColor>
#include <QWidget>

namespace pw::ui {

// A bar 8 high: a translucent track with a fill from the leading edge covering
// `percent` of it, both with corners of radius 4.
class LevelBarChart : public QWidget {
    Q_OBJECT
public:
    explicit LevelBarChart(QWidget* parent = nullptr);

    void setLevel(double percent, const QColor& fillColor);
    double percent() const { return m_percent; }
    QColor fillColor() const { return m_fillColor; }
    // Width of the fill for the current size.
    double fillWidth() const;

    QSize sizeHint() const override { return {100, 8}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_percent = 0.0;
    QColor m_fillColor;
};

} // namespace pw::ui
