#include "ui/legend_item.h"

#include "ui/color_dot.h"
#include "ui/label_factory.h"
#include "ui/text_styles.h"

#include <QHBoxLayout>

namespace pw::ui {

LegendItem::LegendItem(const QColor& color, const QString& label, const QString& value,
                       QWidget* parent)
    : QWidget(parent), m_dot(new ColorDot(color, 8, this)),
      m_label(makeLabel(label, systemFont(12, QFont::Medium), QColor(), this)),
      m_value(makeLabel(value, systemFont(12, QFont::DemiBold, true), QColor(), this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 1, 0, 1);
    row->addWidget(m_dot, 0, Qt::AlignVCenter);
    row->addWidget(m_label, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_value, 0, Qt::AlignVCenter);
}

void LegendItem::setColor(const QColor& color) {
    m_dot->setColor(color);
}
void LegendItem::setLabel(const QString& label) {
    m_label->setText(label);
}
void LegendItem::setValue(const QString& value) {
    m_value->setText(value);
}
QString LegendItem::label() const {
    return m_label->text();
}
QString LegendItem::value() const {
    return m_value->text();
}

} // namespace pw::ui
