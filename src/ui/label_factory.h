#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace pw::ui {

// A plain one-line label in `font`; an invalid colour keeps the inherited
// foreground colour.
QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color = QColor(),
                  QWidget* parent = nullptr);
void setTextColor(QWidget* widget, const QColor& color);

// "PROCESSES", "CPU", "SWAP"…: size 10, bold, blue.
QLabel* makeSectionHeading(const QString& text, QWidget* parent = nullptr);

} // namespace pw::ui
