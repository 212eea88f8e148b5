#include "ui/memory_card.h"

#include "ui/dashboard_style.h"
#include "ui/label_factory.h"

#include <QVBoxLayout>

namespace pw::ui {

MemoryCard::MemoryCard(const QString& title, const QString& value, const QColor& color,
                       QWidget* parent)
    : RoundedCard(dashboardStyle::whiteAt(0.05), 10, parent) {
    m_title = makeLabel(title, textStyle::caption(), systemColor::secondaryLabel());
    m_value = makeLabel(value, textStyle::headline(), color);
    auto* layout = new QVBoxLayout(this);
    const int pad = dashboardStyle::kCardPadding;
    layout->setContentsMargins(pad, pad, pad, pad);
    layout->setSpacing(8);
    layout->addWidget(m_title);
    layout->addWidget(m_value);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString MemoryCard::title() const {
    return m_title->text();
}
QString MemoryCard::value() const {
    return m_value->text();
}
void MemoryCard::setValue(const QString& value) {
    m_value->setText(value);
}

} // namespace pw::ui
