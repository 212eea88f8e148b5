#pragma once

#include <QColor>
#include <QPalette>

namespace pw::ui {

// The dark appearance the popup always uses, with `accent` as its highlight.
QPalette darkPopoverPalette(const QColor& accent);

} // namespace pw::ui
