#pragma once

#include "ui/dashboard_style.h"

#include <QObject>
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
    return dashboardStyle::makeLabel(text, dashboardStyle::largeTitle());
}

// Runs `update` now and again each time `sender` emits `signal`, while
// `context` lives.
template <typename Sender, typename Signal, typename Update>
void followLive(Sender* sender, Signal signal, QObject* context, Update update) {
    update();
    QObject::connect(sender, signal, context, update);
}

} // namespace pw::ui::pageParts
