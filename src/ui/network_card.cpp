#include "ui/network_card.h"

#include "ui/dashboard_style.h"
#include "ui/label_factory.h"
#include "ui/symbols.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace pw::ui {

NetworkCard::NetworkCard(const QString& title, const QString& value, const QString& icon,
                         const QColor& color, QWidget* parent)
    : RoundedCard(dashboardStyle::whiteAt(0.05), 10, parent), m_iconName(icon) {
    // The symbol takes the height of the title2 text style.
    const int symbolSize = QFontMetrics(textStyle::title2()).height();
    auto* symbol = new QLabel;
    symbol->setPixmap(symbolPixmap(icon, color, symbolSize, devicePixelRatioF()));
    m_title = makeLabel(title, textStyle::caption(), systemColor::secondaryLabel());
    m_value = makeLabel(value, textStyle::headline());

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(m_title);
    texts->addWidget(m_value);

    auto* layout = new QHBoxLayout(this);
    const int pad = dashboardStyle::kCardPadding;
    layout->setContentsMargins(pad, pad, pad, pad);
    layout->addWidget(symbol);
    layout->addLayout(texts);
    layout->addStretch();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString NetworkCard::title() const {
    return m_title->text();
}
QString NetworkCard::value() const {
    return m_value->text();
}
void NetworkCard::setValue(const QString& value) {
    m_value->setText(value);
}

} // namespace pw::ui
