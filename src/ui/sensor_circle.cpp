#include "ui/sensor_circle.h"

#include "ui/dashboard_style.h"
#include "ui/label_factory.h"

#include <QPainter>
#include <QVBoxLayout>

namespace pw::ui {

SensorCircle::SensorCircle(const QString& title, const QString& value, QWidget* parent)
    : QWidget(parent) {
    setFixedSize(70, 70);
    QFont valueFont = textStyle::title3();
    valueFont.setBold(true);
    m_title = makeLabel(title, textStyle::caption(), systemColor::secondaryLabel());
    m_value = makeLabel(value, valueFont);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    layout->addStretch();
    layout->addWidget(m_title, 0, Qt::AlignHCenter);
    layout->addWidget(m_value, 0, Qt::AlignHCenter);
    layout->addStretch();
}

QString SensorCircle::title() const {
    return m_title->text();
}
QString SensorCircle::value() const {
    return m_value->text();
}
void SensorCircle::setValue(const QString& value) {
    m_value->setText(value);
}

void SensorCircle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(systemColor::blue(), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

} // namespace pw::ui
