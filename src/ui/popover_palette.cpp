#include "ui/popover_palette.h"

#include "services/system_colors.h"

namespace pw::ui {

QPalette darkPopoverPalette(const QColor& accent) {
    QPalette palette;
    const QColor text = systemColor::primaryLabel();
    const QColor secondary = systemColor::secondaryLabel();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, QColor(30, 30, 32));
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, QColor(22, 22, 24));
        palette.setColor(group, QPalette::AlternateBase, QColor(40, 40, 44));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, QColor(58, 58, 62));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::BrightText, text);
        palette.setColor(group, QPalette::PlaceholderText, secondary);
        palette.setColor(group, QPalette::Highlight, accent);
        palette.setColor(group, QPalette::HighlightedText, text);
        palette.setColor(group, QPalette::Link, accent);
        palette.setColor(group, QPalette::ToolTipBase, QColor(44, 44, 48));
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::Light, QColor(80, 80, 86));
        palette.setColor(group, QPalette::Midlight, QColor(66, 66, 70));
        palette.setColor(group, QPalette::Mid, QColor(48, 48, 52));
        palette.setColor(group, QPalette::Dark, QColor(20, 20, 22));
        palette.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, secondary);
    palette.setColor(QPalette::Disabled, QPalette::Text, secondary);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, secondary);
    return palette;
}

} // namespace pw::ui
