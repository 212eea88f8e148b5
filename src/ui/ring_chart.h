#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QVariantAnimation;

namespace pw::ui {

// A 100 × 100 circular gauge: a faint track, the arc of `percentage` (capped
// at a full ring) springing to each new value, and a title over a label.
class RingChart : public QWidget {
    Q_OBJECT

public:
    RingChart(double percentage, const QString& label, const QColor& color, const QString& title,
              QWidget* parent = nullptr);

    // A new percentage springs the arc from its current length.
    void setPercentage(double percentage);
    double percentage() const { return m_percentage; }
    void setLabel(const QString& label);
    QString label() const { return m_label; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    void setTitle(const QString& title);
    QString title() const { return m_title; }

    // The arc length drawn right now (moves during the spring).
    double displayedFraction() const { return m_displayedFraction; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_percentage;
    QString m_label;
    QColor m_color;
    QString m_title;
    double m_displayedFraction;
    QVariantAnimation* m_animation;
};

} // namespace pw::ui
