#pragma once

#include <QPixmap>

#include <optional>

namespace pw::ui {

// The "logo" image: first beside the program (its own package), then in the
// program's compiled-in resources; rendered `logicalSize` square at `dpr`.
// Absent when neither holds a readable image.
std::optional<QPixmap> findLogo(int logicalSize, qreal dpr);

} // namespace pw::ui
