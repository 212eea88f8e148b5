#pragma once

#include "ui/ring_painter.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace pw::ui {

// A small fixed-size ring (core rings, GPU gauges, the disk ring) with an
// optional text in its middle. No animation: it shows what it is given.
class GaugeRing : public QWidget {
    Q_OBJECT

public:
    GaugeRing(int diameter, const RingStyle& style, QWidget* parent = nullptr);

    void setFraction(double fraction);
    double fraction() const { return m_fraction; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    void setText(const QString& text, const QFont& font);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RingStyle m_style;
    double m_fraction = 0.0;
    QColor m_color = Qt::white;
    QString m_text;
    QFont m_font;
    QImage m_pixels; // the ring's last drawing, reused at the same size
};

} // namespace pw::ui
