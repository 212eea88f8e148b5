#include "ui/ring_chart.h"

#include "services/system_colors.h"
#include "ui/ring_painter.h"
#include "ui/spring_animation.h"
#include "ui/text_styles.h"
#include "ui/view_logic.h"

#include <QPainter>
#include <QVariantAnimation>

namespace pw::ui {

RingChart::RingChart(double percentage, const QString& label, const QColor& color,
                     const QString& title, QWidget* parent)
    : QWidget(parent), m_percentage(percentage), m_label(label), m_color(color), m_title(title),
      m_displayedFraction(ringFraction(percentage)), m_animation(new QVariantAnimation(this)) {
    setFixedSize(100, 100);
    m_animation->setEasingCurve(ringSpring());
    m_animation->setDuration(ringSpringMilliseconds());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_displayedFraction = value.toDouble();
        update();
    });
}

void RingChart::setPercentage(double percentage) {
    if (percentage == m_percentage)
        return;
    m_percentage = percentage;
    const double target = ringFraction(percentage);
    m_animation->stop();
    m_animation->setStartValue(m_displayedFraction);
    m_animation->setEndValue(target);
    m_animation->start();
}

void RingChart::setLabel(const QString& label) {
    if (label == m_label)
        return;
    m_label = label;
    update();
}

void RingChart::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void RingChart::setTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    update();
}

void RingChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF frame(0, 0, 100, 100);
    // The spring overshoots a little; the arc itself never runs past its ends.
    paintRing(painter, frame, std::clamp(m_displayedFraction, 0.0, 1.0), m_color,
              RingStyle{8.0, 0.2, Qt::FlatCap, Qt::RoundCap});

    const QFont titleFont = roundedFont(24, QFont::DemiBold);
    const QFont labelFont = systemFont(10, QFont::Bold);
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF labelMetrics(labelFont);
    const double spacing = 2.0;
    const double blockHeight = titleMetrics.height() + spacing + labelMetrics.height();
    const double top = (frame.height() - blockHeight) / 2.0;

    painter.setFont(titleFont);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRectF(0, top, frame.width(), titleMetrics.height()), Qt::AlignCenter,
                     m_title);
    painter.setFont(labelFont);
    painter.setPen(systemColor::secondaryLabel());
    painter.drawText(
        QRectF(0, top + titleMetrics.height() + spacing, frame.width(), labelMetrics.height()),
        Qt::AlignCenter, m_label);
}

} // namespace pw::ui
