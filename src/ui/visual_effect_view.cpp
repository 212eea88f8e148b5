#include "ui/visual_effect_view.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

namespace pw::ui {

QColor backdropColor(BackdropMaterial material, bool translucent) {
    QColor fill;
    double alpha = 0.85;
    switch (material) {
    case BackdropMaterial::popover:
        fill = QColor(40, 40, 46);
        alpha = 0.82;
        break;
    case BackdropMaterial::underWindowBackground:
        fill = QColor(22, 14, 34);
        alpha = 0.88;
        break;
    case BackdropMaterial::hudWindow:
        fill = QColor(28, 36, 44);
        alpha = 0.80;
        break;
    case BackdropMaterial::contentBackground:
        fill = QColor(14, 14, 14);
        alpha = 0.92;
        break;
    }
    fill.setAlphaF(translucent ? static_cast<float>(alpha) : 1.0f);
    return fill;
}

bool compositorAvailable() {
    const QString platform = QGuiApplication::platformName();
    return !(platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
             platform == QLatin1String("vnc") || platform.isEmpty());
}

VisualEffectView::VisualEffectView(BackdropMaterial material, BlendingMode blendingMode,
                                   QWidget* parent)
    : QWidget(parent), m_material(material), m_blendingMode(blendingMode) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void VisualEffectView::setMaterial(BackdropMaterial material) {
    if (material == m_material)
        return;
    m_material = material;
    update();
}

void VisualEffectView::setBlendingMode(BlendingMode mode) {
    if (mode == m_blendingMode)
        return;
    m_blendingMode = mode;
    update();
}

QColor VisualEffectView::currentFill() const {
    const bool translucent =
        compositorAvailable() && window()->testAttribute(Qt::WA_TranslucentBackground);
    return backdropColor(m_material, translucent);
}

// Under a popup whose figures change every second the dirty region is many
// small rectangles: filled one by one, each stays a plain rectangle fill,
// where one fill over their bounding box is clipped row by row (and handed
// to Qt's thread pool when it is tall).
void VisualEffectView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QColor fill = currentFill();
    for (const QRect& dirty : event->region())
        painter.fillRect(dirty, fill);
}

} // namespace pw::ui
