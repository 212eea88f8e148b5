#include "ui/label_factory.h"

#include "services/system_colors.h"
#include "ui/text_styles.h"

namespace pw::ui {

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    widget->setPalette(pal);
}

QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    // Some texts come from the machine; none of them is markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    if (color.isValid())
        setTextColor(label, color);
    return label;
}

QLabel* makeSectionHeading(const QString& text, QWidget* parent) {
    return makeLabel(text, systemFont(10, QFont::Bold), systemColor::blue(), parent);
}

} // namespace pw::ui
