#pragma once

#include "services/theme_manager.h"

#include <QColor>
#include <QWidget>

namespace pw::ui {

enum class BlendingMode { behindWindow = 0 };

// The fill standing in for a backdrop material: each material has its own
// tint, translucent where a compositor blends it with what lies behind the
// window and opaque otherwise.
QColor backdropColor(BackdropMaterial material, bool translucent);

// Whether the display can blend translucent windows (no compositor offscreen).
bool compositorAvailable();

// A translucent backdrop with no content of its own; it fills the size its
// container gives it.
class VisualEffectView : public QWidget {
    Q_OBJECT

public:
    explicit VisualEffectView(BackdropMaterial material,
                              BlendingMode blendingMode = BlendingMode::behindWindow,
                              QWidget* parent = nullptr);

    void setMaterial(BackdropMaterial material);
    BackdropMaterial material() const { return m_material; }
    void setBlendingMode(BlendingMode mode);
    BlendingMode blendingMode() const { return m_blendingMode; }

    // The colour painted now: translucent only when the window is translucent
    // and a compositor runs.
    QColor currentFill() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BackdropMaterial m_material;
    BlendingMode m_blendingMode;
};

} // namespace pw::ui
