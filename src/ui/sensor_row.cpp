#include "ui/sensor_row.h"

#include "ui/dashboard_style.h"
#include "ui/label_factory.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace pw::ui {

SensorRow::SensorRow(const QString& title, const QString& subtitle, const QString& value,
                     QWidget* parent)
    : QWidget(parent) {
    QFont titleFont = textStyle::caption2();
    titleFont.setBold(true);
    m_title = makeLabel(title, titleFont, systemColor::blue());
    m_subtitle = makeLabel(subtitle, systemFont(14));
    m_value = makeLabel(value, systemFont(14));

    auto* line = new QHBoxLayout;
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(m_subtitle);
    line->addStretch();
    line->addWidget(m_value);

    auto* divider = new QWidget;
    divider->setFixedHeight(1);
    divider->setAutoFillBackground(true);
    QPalette p = divider->palette();
    p.setColor(QPalette::Window, dashboardStyle::whiteAt(0.1));
    divider->setPalette(p);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addLayout(line);
    layout->addWidget(divider);
}

QString SensorRow::title() const {
    return m_title->text();
}
QString SensorRow::subtitle() const {
    return m_subtitle->text();
}
QString SensorRow::value() const {
    return m_value->text();
}
void SensorRow::setValue(const QString& value) {
    m_value->setText(value);
}

} // namespace pw::ui
