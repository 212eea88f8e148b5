#include "ui/tab_bar_button.h"

#include "services/system_colors.h"
#include "ui/spring_animation.h"
#include "ui/symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace pw::ui {
namespace {

QColor mix(const QColor& from, const QColor& to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto lerp = [t](float a, float b) { return a + (b - a) * static_cast<float>(t); };
    return QColor::fromRgbF(lerp(from.redF(), to.redF()), lerp(from.greenF(), to.greenF()),
                            lerp(from.blueF(), to.blueF()), lerp(from.alphaF(), to.alphaF()));
}

} // namespace

TabBarButton::TabBarButton(const QString& icon, int index, const QColor& color, QWidget* parent)
    : QAbstractButton(parent), m_icon(icon), m_index(index), m_color(color),
      m_animation(new QVariantAnimation(this)) {
    setFixedSize(32, 32);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    m_animation->setEasingCurve(tabSelectionSpring());
    m_animation->setDuration(tabSelectionSpringMilliseconds());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_highlight = value.toDouble();
        update();
    });
    connect(this, &QAbstractButton::clicked, this, [this] { Q_EMIT tabChosen(m_index); });
}

void TabBarButton::setSelectedTab(int selectedTab) {
    const bool selected = selectedTab == m_index;
    if (selected == m_selected)
        return;
    m_selected = selected;
    m_animation->stop();
    if (!isVisible()) {
        m_highlight = selected ? 1.0 : 0.0;
        update();
        return;
    }
    m_animation->setStartValue(m_highlight);
    m_animation->setEndValue(selected ? 1.0 : 0.0);
    m_animation->start();
}

QColor TabBarButton::symbolColor(bool selected, const QColor& color) {
    if (selected)
        return color;
    QColor dimmed = systemColor::secondaryLabel();
    dimmed.setAlphaF(dimmed.alphaF() * 0.5f);
    return dimmed;
}

QColor TabBarButton::backgroundColor(bool selected, const QColor& color) {
    QColor background = color;
    background.setAlphaF(selected ? 0.2f : 0.0f);
    return background;
}

void TabBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 8, 8);
    painter.setClipPath(shape);
    painter.fillPath(
        shape, mix(backgroundColor(false, m_color), backgroundColor(true, m_color), m_highlight));
    if (isDown())
        painter.fillPath(shape, QColor(255, 255, 255, 20));
    const QColor tint = mix(symbolColor(false, m_color), symbolColor(true, m_color), m_highlight);
    constexpr int symbolSize = 20;
    const QPixmap symbol = symbolPixmap(m_icon, tint, symbolSize, devicePixelRatioF());
    painter.drawPixmap(QPointF((width() - symbolSize) / 2.0, (height() - symbolSize) / 2.0),
                       symbol);
}

} // namespace pw::ui
