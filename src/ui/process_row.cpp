#include "ui/process_row.h"

#include "ui/elided_label.h"
#include "ui/process_icon.h"
#include "ui/steady_label.h"
#include "ui/text_styles.h"

#include <QHBoxLayout>

namespace pw::ui {

ProcessRow::ProcessRow(const QString& icon, const QIcon& image, const QString& name,
                       const QString& value, const QColor& color, QWidget* parent)
    : QWidget(parent), m_icon(new ProcessIcon(icon, color, this)), m_name(new ElidedLabel(this)),
      m_value(new SteadyLabel(systemFont(12, QFont::DemiBold, true),
                              Qt::AlignRight | Qt::AlignVCenter, this)) {
    m_value->setSteadyText(value);
    m_icon->setImage(image);
    m_name->setFont(systemFont(12, QFont::Medium));
    m_name->setText(name);
    m_name->setElideMode(Qt::ElideRight);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);
    row->addWidget(m_name, 1, Qt::AlignVCenter);
    row->addSpacing(4);
    row->addWidget(m_value, 0, Qt::AlignVCenter);
}

void ProcessRow::setImage(const QIcon& image) {
    m_icon->setImage(image);
}
void ProcessRow::setName(const QString& name) {
    m_name->setText(name);
}
void ProcessRow::setValue(const QString& value) {
    m_value->setSteadyText(value);
}
QString ProcessRow::name() const {
    return m_name->text();
}
QString ProcessRow::displayedName() const {
    return m_name->displayedText();
}
QString ProcessRow::value() const {
    return m_value->text();
}
bool ProcessRow::showsImage() const {
    return m_icon->showsImage();
}

} // namespace pw::ui
