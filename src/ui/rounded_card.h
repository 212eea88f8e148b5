#pragma once

#include <QColor>
#include <QWidget>

namespace pw::ui {

// A container that paints a filled rounded rectangle behind its children.
// Callers give it a layout; the fill and corner radius are plain values.
class RoundedCard : public QWidget {
    Q_OBJECT
public:
    RoundedCard(const QColor& fill, qreal radius, QWidget* parent = nullptr);

    QColor fill() const { return m_fill; }
    qreal radius() const { return m_radius; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    qreal m_radius;
};

} // namespace pw::ui
