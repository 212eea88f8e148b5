#include "ui/color_row.h"

#include "ui/dashboard_style.h"
#include "ui/label_factory.h"

#include <QHBoxLayout>

namespace pw::ui {

ColorRow::ColorRow(const QString& label, const QColor& color, QWidget* parent)
    : RoundedCard(dashboardStyle::whiteAt(0.05), 6, parent) {
    m_label = makeLabel(label, systemFont(14));
    m_swatch = new RoundedCard(color, 4);
    m_swatch->setFixedSize(30, 16);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_label);
    layout->addStretch();
    layout->addWidget(m_swatch);
}

QString ColorRow::label() const {
    return m_label->text();
}
QColor ColorRow::color() const {
    return m_swatch->fill();
}

} // namespace pw::ui
