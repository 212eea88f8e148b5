#pragma once

#include "ui/dashboard_style.h"
#include "ui/label_factory.h"

#include <QVBoxLayout>
#include <QWidget>

namespace pw::ui::pageParts {

// A page: a vertical stack of children at the leading edge, no outer margins.
inline QVBoxLayout* pageStack(QWidget* page, int spacing) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

inline QLabel* pageTitle(const QString& text) {
    return makeLabel(text, dashboardStyle::largeTitle());
}

} // namespace pw::ui::pageParts
