#pragma once

#include "ui/view_logic.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QWidget>

class QPainter;

namespace pw::ui {

// Strokes the sparkline of `data` (0–`scaleMaximum` scale) into `frame`: one
// path, one 1.5-wide stroke, nothing for fewer than two values.
void paintSparkline(QPainter& painter, const QRectF& frame, const QList<double>& data,
                    const QColor& color, double scaleMaximum = 100.0);

// A line chart of a history, on a 0–100 scale unless told otherwise; takes
// whatever size its layout gives it.
class SparklineView : public QWidget {
    Q_OBJECT

public:
    explicit SparklineView(QWidget* parent = nullptr);

    void setData(QList<double> data);
    const QList<double>& data() const { return m_data; }
    void setColor(QColor color);
    QColor color() const { return m_color; }
    void setScaleMaximum(double maximum);
    double scaleMaximum() const { return m_scaleMaximum; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<double> m_data;
    QColor m_color = Qt::white;
    double m_scaleMaximum = 100.0;
    QImage m_pixels; // the last drawing, reused at the same size
};

} // namespace pw::ui
